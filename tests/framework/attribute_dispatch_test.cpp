// Attribute dispatch through a class's table: matching without regard to case in table order,
// the chain to the next handler, result codes, and InitDMData's order of application.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMGlobalAttr.h"
#include "DMXml.h"

using namespace DM;

namespace {

class TestWidgetAttr {
public:
    static const wchar_t* bool_bvisible;
    static const wchar_t* bool_bmultiLines;
    static const wchar_t* INT_width;
    static const wchar_t* STRING_skin;
    static const wchar_t* STRING_style;
};
DMATTR_DEFINE(TestWidgetAttr, bool_bvisible)
DMATTR_DEFINE(TestWidgetAttr, bool_bmultiLines)
DMATTR_DEFINE(TestWidgetAttr, INT_width)
DMATTR_DEFINE(TestWidgetAttr, STRING_skin)
DMATTR_DEFINE(TestWidgetAttr, STRING_style)

// Records the attributes it applied, in order, and what reached the default handler.
class TestWidget : public DMBase {
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override {
        static const DMAttributeEntry<TestWidget> kTable[] = {
            {&TestWidgetAttr::bool_bvisible, &BoolAttribute<&TestWidget::m_bVisible, DMATTR_PAINT>},
            {&TestWidgetAttr::bool_bmultiLines,
             &BoolAttribute<&TestWidget::m_bMultiLines, DMATTR_OK>},
            {&TestWidgetAttr::INT_width, &IntAttribute<&TestWidget::m_nWidth, DMATTR_PARENTLAYOUT>},
            {&TestWidgetAttr::STRING_skin, &TestWidget::OnSkin},
            {&TestWidgetAttr::STRING_style, &TestWidget::OnStyle},
        };
        OnAttributeStart(name, value, loading);
        DMCode code = DMATTR_FAIL;
        if (!DispatchAttribute(*this, kTable, name, value, loading, code)) {
            code = DMBase::SetAttribute(name, value, loading);
        }
        return OnAttributeFinished(name, value, loading, code);
    }
    DMCode DefAttributeProc(const DMStringT& name, const DMStringT&, bool) override {
        unknown.push_back(name);
        return DMATTR_FAIL;
    }
    DMCode OnFinished(DMXmlNode&) override {
        applied.push_back(L"finished");
        return DM_ECODE_OK;
    }

    static DMCode OnSkin(TestWidget& widget, const DMStringT& value, bool) {
        widget.applied.push_back(L"skin=" + value);
        return DMATTR_PAINT;
    }
    static DMCode OnStyle(TestWidget& widget, const DMStringT& value, bool) {
        widget.applied.push_back(L"style=" + value);
        return DMATTR_PAINT;
    }

    bool m_bVisible = true;
    bool m_bMultiLines = false;
    int m_nWidth = 10;
    std::vector<DMStringT> applied;
    std::vector<DMStringT> unknown;
};

class Dispatch : public ::testing::Test {
protected:
    DMApp app;
    TestWidget widget;
};

TEST_F(Dispatch, NamesMatchWithoutRegardToCase) {
    EXPECT_EQ(widget.SetAttribute(L"BVISIBLE", L"0", false), DMATTR_PAINT);
    EXPECT_FALSE(widget.m_bVisible);
    EXPECT_EQ(widget.SetAttribute(L"bmultilines", L"1", false), DMATTR_OK);
    EXPECT_TRUE(widget.m_bMultiLines);
    EXPECT_STREQ(TestWidgetAttr::bool_bmultiLines, L"bmultiLines");
}

TEST_F(Dispatch, UnparsableValueKeepsTheMemberAndAnswersTheCode) {
    EXPECT_EQ(widget.SetAttribute(L"bvisible", L"false", true), DMATTR_PAINT);
    EXPECT_TRUE(widget.m_bVisible);
    EXPECT_EQ(widget.SetAttribute(L"width", L"wide", false), DMATTR_PARENTLAYOUT);
    EXPECT_EQ(widget.m_nWidth, 10);
}

TEST_F(Dispatch, UnknownAttributeEndsAtTheDefaultHandler) {
    EXPECT_EQ(widget.SetAttribute(L"resizable", L"1", true), DMATTR_FAIL);
    EXPECT_EQ(widget.unknown, (std::vector<DMStringT>{L"resizable"}));
}

TEST_F(Dispatch, StyleAppliesBeforeTheSkinWhateverTheirOrder) {
    const char* xml = "<button skin=\"btn\" width=\"80\" style=\"btnstyle\"/>";
    DMXmlDocument document;
    ASSERT_TRUE(document.LoadFromBuffer(xml, std::strlen(xml)));
    DMXmlNode node = document.Root();
    EXPECT_EQ(widget.InitDMData(node), DM_ECODE_OK);
    EXPECT_EQ(widget.applied,
              (std::vector<DMStringT>{L"style=btnstyle", L"skin=btn", L"finished"}));
    EXPECT_EQ(widget.m_nWidth, 80);

    DMXmlNode empty;
    EXPECT_EQ(widget.InitDMData(empty), DM_ECODE_NOXMLLOAD);
}

TEST(AttributeTables, DeclarationsBecomeNames) {
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLNODE_global, L"global");
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLATTR_font, L"font");
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLNODE_skin, L"skin");
    EXPECT_STREQ(DMAttr::DMGlobalAttr::XMLNODE_style, L"style");
    EXPECT_STREQ(AttributeNameOf(L"INI_caretanimatecount"), L"caretanimatecount");
}

}  // namespace
