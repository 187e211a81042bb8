// Attribute dispatch through the framework's own tables: matching without regard to case in
// table order, result codes, what an unknown attribute does, the style before the other
// attributes of an element, and which codes lay out the parent again.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMGlobalAttr.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIStatic.h"
#include "DUIWindow.h"
#include "IDMStyle.h"
#include "StandInContainer.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/headless.h"
#include "plat/messages.h"

using namespace DM;

namespace {

// A resource folder whose global file has one style, for the widgets built from XML.
class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        std::filesystem::path tree = folder.path();
        vael::test::WriteFile(tree / "layout/dmindex.xml",
                              "<resource><global><file name=\"global\" "
                              "path=\"layout\\global.xml\"/></global></resource>");
        vael::test::WriteFile(tree / "layout/global.xml",
                              "<global><style><style id=\"white\" clrtext=\"pbgra(ff,ff,ff,ff)\" "
                              "align=\"left\"/></style></global>");
        vael::test::WriteFile(tree / "themes/dmindex.xml", "<resource/>");
        std::wstring root = plat::WindowsPathFromHostW(tree);
        ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0, nullptr), DM_ECODE_OK);
        ASSERT_EQ(app.InitGlobal(L"global"), DM_ECODE_OK);
        parent.Attach(new DUIWindow);
        parent->SetContainer(&container);
    }
    void TearDown() override { parent->SendMessage(plat::WM_DESTROY); }

    void Build(const std::string& xml) {
        ASSERT_TRUE(document.LoadFromBuffer(xml.data(), xml.size()));
        DMXmlNode node = document.Root();
        parent->CreateChildren(node);
        parent->SetWndRect({0, 0, 675, 437});
        parent->UpdateChildLayout();
    }
    DUIWindow* Find(const wchar_t* name) { return parent->FindChildByName(name); }

    DMApp app;
    vael::test::TempDir folder;
    vael::test::StandInContainer container;
    DMSmartPtrT<DUIWindow> parent;
    DMXmlDocument document;
};

TEST_F(Dispatch, NamesMatchWithoutRegardToCase) {
    Build("<dm><static name=\"label\" pos=\"0,0,@10,@10\"/></dm>");
    auto* label = static_cast<DUIStatic*>(Find(L"label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->SetAttribute(L"BVISIBLE", L"0", false), DMATTR_OK);
    EXPECT_FALSE(label->IsVisible(false));
    EXPECT_EQ(label->SetAttribute(L"bmultilines", L"1", false), DMATTR_OK);
    EXPECT_TRUE(label->m_bMultiLines);
    EXPECT_STREQ(DMAttr::DUIStaticAttr::bool_bmultiLines, L"bmultiLines");
}

// The record's table answers its entry's code, whether or not the value parsed.
TEST_F(Dispatch, UnparsableValueKeepsTheMemberAndAnswersTheCode) {
    Build("<dm><window name=\"w\" pos=\"0,0,@10,@10\" width=\"30\"/></dm>");
    DUIWindow_XmlInfo& info = Find(L"w")->XmlInfo();
    bool before = info.m_bShowDrawFocus;
    EXPECT_EQ(info.SetAttribute(L"bshowdrawfocus", L"false", true), DMATTR_PAINT);
    EXPECT_EQ(info.m_bShowDrawFocus, before);
    EXPECT_EQ(info.SetAttribute(L"bshowdrawfocus", before ? L"0" : L"1", true), DMATTR_PAINT);
    EXPECT_NE(info.m_bShowDrawFocus, before);
    EXPECT_EQ(info.SetAttribute(L"width", L"wide", false), DMATTR_PARENTLAYOUT);
    EXPECT_EQ(info.m_nWidth, 30);
    EXPECT_EQ(info.SetAttribute(L"text", L"hello", false), DMATTR_PAINT);
    EXPECT_EQ(info.SetAttribute(L"tipdelay", L"5", false), DMATTR_OK);
}

TEST_F(Dispatch, AnUnknownAttributeChangesNothing) {
    Build("<dm><window name=\"w\" pos=\"0,0,@10,@10\"/></dm>");
    DUIWindow* widget = Find(L"w");
    EXPECT_EQ(widget->SetAttribute(L"resizable", L"1", true), DMATTR_FAIL);
    EXPECT_EQ(widget->SetAttribute(L"resizable", L"1", false), DMATTR_FAIL);
    EXPECT_TRUE(widget->IsVisible(false));
}

// The element's own text colour wins over the style's whatever the attributes' order, because
// the style is applied first.
TEST_F(Dispatch, StyleAppliesBeforeTheOtherAttributesWhateverTheirOrder) {
    Build(
        "<dm><window name=\"own\" clrtext=\"pbgra(00,ff,00,ff)\" style=\"white\" "
        "pos=\"0,0,@10,@10\"/><window name=\"styled\" style=\"white\" pos=\"0,0,@10,@10\"/></dm>");
    DMColor own;
    ASSERT_EQ(Find(L"own")->GetStyle()->GetTextColor(0, own), DM_ECODE_OK);
    EXPECT_EQ(own.ToValue(), 0xFF00FF00u);
    DMColor styled;
    ASSERT_EQ(Find(L"styled")->GetStyle()->GetTextColor(0, styled), DM_ECODE_OK);
    EXPECT_EQ(styled.ToValue(), 0xFFFFFFFFu);
}

// "width" set by code lays the parent out again at once; the same attribute while loading
// leaves that to the layout that follows the loading.
TEST_F(Dispatch, WidthSetByCodeLaysOutTheParentAgain) {
    Build(
        "<dm><HLayout name=\"row\" pos=\"0,0,@300,@20\">"
        "<window name=\"fixed\" width=\"100\" bplaceholder=\"0\"/>"
        "<window name=\"next\" width=\"50\" bplaceholder=\"0\"/></HLayout></dm>");
    DUIWindow* fixed = Find(L"fixed");
    DUIWindow* next = Find(L"next");
    ASSERT_EQ(next->m_rcWindow.left, 100);
    fixed->SetAttribute(L"width", L"40", true);
    EXPECT_EQ(next->m_rcWindow.left, 100) << "loading: no layout yet";
    fixed->SetAttribute(L"width", L"60", false);
    EXPECT_EQ(next->m_rcWindow.left, 60);
}

TEST(AttributeTables, DeclarationsBecomeNames) {
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLNODE_global, L"global");
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLATTR_font, L"font");
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLNODE_skin, L"skin");
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLNODE_style, L"style");
    EXPECT_STREQ(AttributeNameOf(L"INI_caretanimatecount"), L"caretanimatecount");
}

}  // namespace
