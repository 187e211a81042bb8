// The skin, style and font pools filled from a global skin file in a folder pack.
#include <gtest/gtest.h>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "IDMRes.h"
#include "IDMSkin.h"
#include "IDMStyle.h"
#include "PictureWriter.h"
#include "TempDir.h"
#include "plat/cursor.h"
#include "plat/drive_map.h"
#include "plat/headless.h"

using namespace DM;

namespace {

namespace fs = std::filesystem;

// A strip of three 24 × 24 states: red, green, blue.
std::string ThreeStates() {
    std::vector<vael::test::Rgba> pixels;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 72; ++x) {
            pixels.push_back({static_cast<std::uint8_t>(x < 24 ? 0xFF : 0),
                              static_cast<std::uint8_t>(x >= 24 && x < 48 ? 0xFF : 0),
                              static_cast<std::uint8_t>(x >= 48 ? 0xFF : 0), 0xFF});
        }
    }
    return vael::test::WritePng(72, 24, pixels);
}

constexpr const char* kGlobal = R"xml(<global font="face:宋体,size:14,weight:400">
  <skin name="png">
    <imglist id="guanbi" src="png:guanbi" states="3" />
    <imglist id="GUANBI" src="png:other" states="1" />
    <imglist id="missing" src="png:nosuchpicture" />
    <imglist src="png:guanbi" />
    <nosuchskin id="odd" src="png:guanbi" />
    <img9 id="frame" src="png:guanbi" states="3" margin="2,2,2,2" />
  </skin>
  <skin name="jpg"></skin>
  <skin name="png">
    <imglist id="missing" src="png:other" />
  </skin>
  <style name="">
    <style id="btnstyle" clrtext="pbgra(ff,ff,ff,ff)" align="left" />
    <style id="BTNSTYLE" clrtext="pbgra(00,00,ff,ff)" />
  </style>
</global>)xml";

class Pools : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        fs::path tree = folder.path();
        vael::test::WriteFile(tree / "layout/dmindex.xml",
                              "<resource><global><file name=\"global\" "
                              "path=\"layout\\global.xml\"/></global></resource>");
        vael::test::WriteFile(tree / "layout/global.xml", kGlobal);
        vael::test::WriteFile(tree / "themes/dmindex.xml",
                              "<resource><themes name=\"t\"><file name=\"t\" "
                              "path=\"themes\\t.xml\"/></themes></resource>");
        vael::test::WriteFile(tree / "themes/t.xml",
                              "<resource><png><file name=\"guanbi\" path=\"guanbi.png\"/>"
                              "<file name=\"other\" path=\"other.png\"/></png></resource>");
        vael::test::WriteFile(tree / "guanbi.png", ThreeStates());
        vael::test::WriteFile(tree / "other.png", vael::test::WritePng(1, 1, {{1, 2, 3, 0xFF}}));
        std::wstring root = plat::WindowsPathFromHostW(tree);
        ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0, nullptr), DM_ECODE_OK);
        ASSERT_EQ(app.InitGlobal(L"global"), DM_ECODE_OK);
    }

    DMSmartPtrT<IDMStyle> NewStyle() {
        IDMStyle* style = nullptr;
        app.CreateRegObj(&style, nullptr, DMREG_Style);
        return DMSmartPtrT<IDMStyle>::Adopt(style);
    }

    DMApp app;
    vael::test::TempDir folder;
};

TEST_F(Pools, SkinReferences) {
    IDMSkin* guanbi = app.GetSkin(L"guanbi");
    ASSERT_NE(guanbi, nullptr);
    EXPECT_EQ(app.GetSkin(L"png:guanbi"), guanbi);
    EXPECT_EQ(app.GetSkin(L"jpg:guanbi"), guanbi) << "the named pool lacks it: all are searched";
    EXPECT_EQ(app.GetSkin(L"PNG:GUANBI"), guanbi);
    EXPECT_EQ(app.GetSkin(L"a:b:c"), nullptr);
    EXPECT_EQ(app.GetSkin(L""), nullptr);
    EXPECT_EQ(app.GetSkin(L"odd"), nullptr) << "no skin class of that name";
    int states = 0;
    guanbi->GetStates(states);
    EXPECT_EQ(states, 3) << "the first definition of an id wins";
}

TEST_F(Pools, SkinWithoutPictureLeavesItsIdFree) {
    IDMSkin* missing = app.GetSkin(L"missing");
    ASSERT_NE(missing, nullptr) << "the later definition took the free id";
    IDMBitmap* picture = nullptr;
    ASSERT_EQ(missing->GetBitmap(&picture), DM_ECODE_OK);
    EXPECT_EQ(picture->GetWidth(), 1);
    picture->Release();
}

TEST_F(Pools, ImageListStates) {
    IDMSkin* guanbi = app.GetSkin(L"guanbi");
    SIZE size{};
    ASSERT_EQ(guanbi->GetStateSize(size, 0), DM_ECODE_OK);
    EXPECT_EQ(size.cx, 24);
    EXPECT_EQ(size.cy, 24);

    IDMRender* render = nullptr;
    app.GetDefRegObj(&render, DMREG_Render);
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* created = nullptr;
    renderer->CreateCanvas(24, 24, &created);
    auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(created);
    EXPECT_EQ(guanbi->Draw(canvas.get(), {0, 0, 24, 24}, 2, 0xFF), DM_ECODE_OK);
    IDMMetaFile* bitmap = nullptr;
    canvas->GetObject(&bitmap, DMF_BITMAP);
    EXPECT_EQ(static_cast<IDMBitmap*>(bitmap)->GetPixel(12, 12), 0xFF0000FFu) << "blue, from x 48";
    EXPECT_EQ(guanbi->Draw(canvas.get(), {0, 0, 24, 24}, 3, 0xFF), DM_ECODE_FAIL);

    IDMSkin* frame = app.GetSkin(L"frame");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsClass(L"imglist"));
    RECT margin{};
    frame->QueryInfo(reinterpret_cast<WPARAM>(&margin), 0);
    EXPECT_EQ(margin.left, 2);
    EXPECT_EQ(frame->Draw(canvas.get(), {0, 0, 24, 24}, 1, 0xFF), DM_ECODE_OK);
    EXPECT_EQ(static_cast<IDMBitmap*>(bitmap)->GetPixel(12, 12), 0xFF00FF00u);
}

TEST_F(Pools, FontsByNormalisedDescription) {
    IDMFont* font = app.GetFont(L"size:-12,face:新宋体");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(app.GetFont(L" face:新宋体,size:12 "), font);
    EXPECT_EQ(font->GetLogFont()->lfHeight, -12);
    EXPECT_NE(app.GetFont(L"size:13,face:新宋体"), font);
    IDMFont* fallback = app.GetFont(L"");
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->GetLogFont()->lfHeight, -14) << "the global file's default font";
    EXPECT_STREQ(fallback->GetFaceName(), L"宋体");
}

TEST_F(Pools, StyleDefinitionsAndResolution) {
    DMXmlNode definition;
    ASSERT_EQ(app.GetStyle(definition, L"BtnStyle"), DM_ECODE_OK);
    EXPECT_EQ(definition.Attribute(L"clrtext"), L"pbgra(ff,ff,ff,ff)") << "the first id wins";
    DMXmlNode none;
    EXPECT_EQ(app.GetStyle(none, L"a:b:c"), DM_ECODE_FAIL);
    EXPECT_EQ(app.GetStyle(none, L"nosuchstyle"), DM_ECODE_FAIL);

    DMSmartPtrT<IDMStyle> style = NewStyle();
    style->InitDMData(definition);
    DMColor color;
    style->GetTextColor(1, color);
    EXPECT_EQ(color.ToValue(), 0xFFFFFFFFu) << "an unset state shows the normal colour";
    UINT format = 0;
    style->GetTextAlign(format);
    EXPECT_EQ(format, 0x24u);

    DMSmartPtrT<IDMStyle> plain = NewStyle();
    plain->GetTextAlign(format);
    EXPECT_EQ(format, 0x25u);
    int states = 0;
    plain->GetTextStates(states);
    EXPECT_EQ(states, 1);
    plain->SetAttribute(L"clrtexthover", L"pbgra(10,20,30,ff)", false);
    plain->SetAttribute(L"fontpush", L"size:20", false);
    plain->SetAttribute(L"fontdisable", L"size:21", false);
    plain->GetTextStates(states);
    EXPECT_EQ(states, 3);
    IDMFont* font = nullptr;
    ASSERT_EQ(plain->GetTextFont(9, &font), DM_ECODE_OK);
    EXPECT_EQ(font, app.GetFont(L""));
    font->Release();

    EXPECT_EQ(plain->SetAttribute(L"skin", L"guanbi", false), DMATTR_PAINT);
    EXPECT_EQ(plain->SetAttribute(L"skin", L" guanbi ", true), DMATTR_OK);
    IDMSkin* skin = nullptr;
    ASSERT_EQ(plain->GetBgSkin(&skin), DM_ECODE_OK);
    EXPECT_EQ(skin, app.GetSkin(L"guanbi"));
    skin->Release();
    plat::HCURSOR cursor = nullptr;
    ASSERT_EQ(plain->GetCursor(cursor), DM_ECODE_OK);
    EXPECT_EQ(plat::SystemCursorId(cursor), plat::IDC_ARROW);
    EXPECT_EQ(plain->SetAttribute(L"cursor", L" Hand ", false), DMATTR_OK);
    plain->GetCursor(cursor);
    EXPECT_EQ(plat::SystemCursorId(cursor), plat::IDC_HAND);
    EXPECT_EQ(plain->SetAttribute(L"cursor", L"guanbi", false), DMATTR_OK);
    plain->GetCursor(cursor);
    EXPECT_NE(cursor, nullptr);
    EXPECT_EQ(plat::SystemCursorId(cursor), 0u) << "made from the skin's picture";
    EXPECT_EQ(plain->SetAttribute(L"cursor", L"nosuchskin", false), DMATTR_FAIL);

    style->CopyData(plain.get());
    plain->GetTextColor(0, color);
    EXPECT_EQ(color.ToValue(), 0xFF000000u) << "the target's own normal colour stays";
    plain->GetTextAlign(format);
    EXPECT_EQ(format, 0x24u) << "the default alignment is taken from the source";
}

}  // namespace
