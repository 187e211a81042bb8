// The attribute grammars: one table of cases per parser.
#include <gtest/gtest.h>

#include "DMApp.h"
#include "DMFontDesc.h"
#include "DMStyleWords.h"
#include "DUIAccel.h"
#include "IDMAttribute.h"

using namespace DM;

namespace {

// Each test runs with the application, whose default parser the free functions reach.
class Parsers : public ::testing::Test {
protected:
    DMApp app;
};

TEST_F(Parsers, Int) {
    struct {
        const wchar_t* text;
        DMCode code;
        int value;
    } cases[] = {
        {L"0x1F", 0, 31},   {L"12px", 0, 12}, {L"px", 1, -7}, {L"", 1, -7},
        {L"  -42", 0, -42}, {L"+8", 0, 8},    {L"0xg", 0, 0}, {L"-0x10", 0, -16},
        {L"0X2a", 0, 42},   {L"-", 1, -7},
    };
    for (const auto& c : cases) {
        int value = -7;
        EXPECT_EQ(ParseInt(c.text, value), c.code) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST_F(Parsers, Bool) {
    struct {
        const wchar_t* text;
        DMCode code;
        bool value;  // the output starts as the opposite of what a success would give
    } cases[] = {
        {L"1", 0, true},  {L"-3", 0, true},    {L"true", 0, true}, {L"YES", 0, true},
        {L"0", 0, false}, {L"false", 1, true}, {L"no", 1, true},   {L"off", 1, true},
    };
    for (const auto& c : cases) {
        bool value = c.code == 0 ? !c.value : true;
        EXPECT_EQ(ParseBool(c.text, value), c.code) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST_F(Parsers, Color) {
    constexpr std::uint32_t kUnchanged = 0x12345678;
    struct {
        const wchar_t* text;
        DMCode code;
        std::uint32_t value;  // 0xAARRGGBB
    } cases[] = {
        {L"#ff000080", 0, 0x80FF0000},
        {L"#ff0000", 1, kUnchanged},
        {L"red", 0, 0xFF000000},
        {L"black", 0, 0xFF000000},
        {L"WHITE", 0, 0xFFFFFFFF},
        {L"rgb(ff,00,00)", 0, 0xFFFF0000},
        {L"rgba(00,ff,00,80)", 0, 0x8000FF00},
        {L"rgba(00,ff,00)", 1, kUnchanged},
        {L"rgb(ff,00)", 1, kUnchanged},
        {L"pbgra(ff,00,00,ff)", 0, 0xFF0000FF},
        {L"pbgra(c0,c0,c0,ff)", 0, 0xFFC0C0C0},
        {L"pbgra(ff,ff,ff)", 1, kUnchanged},
        {L"RGB(ff,00,00)", 1, kUnchanged},
        {L"RGBA(00,ff,00,80)", 1, kUnchanged},
        {L"rgbA(00,ff,00,80)", 1, kUnchanged},
        {L"PBGRA(ff,00,00,ff)", 1, kUnchanged},
        {L"purple-ish", 0, 0xFF000000},
        {L"", 1, kUnchanged},
    };
    for (const auto& c : cases) {
        DMColor color = DMColor::FromValue(kUnchanged);
        EXPECT_EQ(ParseColor(c.text, color), c.code) << c.text;
        EXPECT_EQ(color.ToValue(), c.value) << c.text;
    }
}

TEST_F(Parsers, SizePointAndRect) {
    SIZE size{-1, -1};
    EXPECT_EQ(ParseSize(L"675,437", size), DM_ECODE_OK);
    EXPECT_EQ(size.cx, 675);
    EXPECT_EQ(size.cy, 437);
    for (const wchar_t* bad : {L"675 ,437", L"675", L"", L"a,b"}) {
        SIZE unchanged{-1, -1};
        EXPECT_EQ(ParseSize(bad, unchanged), DM_ECODE_FAIL) << bad;
        EXPECT_EQ(unchanged.cx, -1) << bad;
    }
    POINT point{};
    EXPECT_EQ(ParsePoint(L" -5, 6", point), DM_ECODE_OK);
    EXPECT_EQ(point.x, -5);
    EXPECT_EQ(point.y, 6);
    RECT rect{};
    EXPECT_EQ(ParseRect(L"1,2,3,4", rect), DM_ECODE_OK);
    EXPECT_EQ(rect.right, 3);
    EXPECT_EQ(ParseRect(L"1,2,3", rect), DM_ECODE_FAIL);
    EXPECT_EQ(rect.bottom, 4);
}

TEST(Color, ChannelsAndConversions) {
    DMColor color(0x10, 0x20, 0x30, 0x80);
    EXPECT_EQ(color.ToValue(), 0x80102030u);
    EXPECT_EQ(color.ToCOLORREF(), 0x302010u);
    color.PreMultiply();
    EXPECT_EQ(color.ToValue(), 0x40081018u);
    EXPECT_EQ(DMColor().ToValue(), 0xFF000000u);
}

plat::LOGFONTW DefaultFont() {
    plat::LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = plat::FW_NORMAL;
    font.lfCharSet = plat::DEFAULT_CHARSET;
    std::wcscpy(font.lfFaceName, L"宋体");
    return font;
}

TEST(FontDescription, FieldsAndNormalisedText) {
    struct {
        const wchar_t* text;
        const wchar_t* normalised;
    } cases[] = {
        {L"size:-12", L"weight:400,charset:1,underline:0,italic:0,strike:0,size:-12,face:宋体"},
        {L"size:12", L"weight:400,charset:1,underline:0,italic:0,strike:0,size:-12,face:宋体"},
        {L"  Face:Microsoft YaHei,SIZE:14,weight:-700  ",
         L"weight:700,charset:1,underline:0,italic:0,strike:0,size:-14,face:microsoft yahei"},
        {L"face:a,b;size:9",
         L"weight:400,charset:1,underline:0,italic:0,strike:0,size:-9,face:a,b"},
        {L"underline:", L"weight:400,charset:1,underline:1,italic:0,strike:0,size:-12,face:宋体"},
        {L"underline:0,italic:1,strike:x,size:px",
         L"weight:400,charset:1,underline:0,italic:1,strike:1,size:-12,face:宋体"},
        {L"charset:134",
         L"weight:400,charset:134,underline:0,italic:0,strike:0,size:-12,face:宋体"},
        {L"face:宋体,size:14,weight:400,charset:0,underline:0,italic:0,strike:0",
         L"weight:400,charset:0,underline:0,italic:0,strike:0,size:-14,face:宋体"},
        {L"face:abcdefghijklmnopqrstuvwxyz0123456789",
         L"weight:400,charset:1,underline:0,italic:0,strike:0,size:-12,"
         L"face:abcdefghijklmnopqrstuvwxyz01234"},
    };
    DMApp app;
    for (const auto& c : cases) {
        std::optional<plat::LOGFONTW> font = ParseFontDescription(c.text, DefaultFont());
        ASSERT_TRUE(font) << c.text;
        EXPECT_EQ(NormalisedFontText(*font), c.normalised) << c.text;
        EXPECT_EQ(font->lfQuality, plat::CLEARTYPE_NATURAL_QUALITY);
    }
    EXPECT_FALSE(ParseFontDescription(L"   ", DefaultFont()));
}

TEST(Accelerators, BothWays) {
    struct {
        const wchar_t* text;
        DWORD value;
        const wchar_t* shown;
    } cases[] = {
        {L"ctrl+shift+f5", 0x30074, L"Ctrl+Shift+F5"},
        {L"Alt + Enter", 0x4000D, L"Alt+Enter"},
        {L"shift+alt+a", 0x50041, L"Shift+Alt+A"},
        {L"ctrl+alt+shift+delete", 0x7002E, L"Ctrl+Shift+Alt+Delete"},
        {L"esc", 27, L"ESC"},
        {L"pageup", 33, L"PageUp"},
        {L"num 5", 101, L"Num 5"},
        {L"num del", 110, L"Num Del"},
        {L"num *", 106, L"Num *"},
        {L"ctrl+9", 0x20039, L"Ctrl+9"},
        {L"ctrl+,", 0x200BC, L"Ctrl+,"},
        {L"\\", 220, L"\\"},
        {L"'", 222, L"'"},
        {L"a+b", 66, L"B"},
        {L"ctrl+tab", 0x20000, L"Ctrl+"},
        {L"", 0, L"无"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DUIAccel::ParseAccel(c.text), c.value) << c.text;
        EXPECT_EQ(DUIAccel::FormatAccel(c.value), c.shown) << c.text;
    }
    EXPECT_EQ(DUIAccel::FormatAccel(9), L"TAB");
    EXPECT_EQ(DUIAccel::FormatAccel(35), L"End");
    EXPECT_EQ(DUIAccel::FormatAccel(0x2006B), L"Ctrl+Num +");
    EXPECT_EQ(DUIAccel::FormatAccel(0x5B), L"");
}

TEST(StyleWords, AlignmentAndCursors) {
    UINT align = DMALIGN_CENTER;
    ParseVAlignWord(L"left", align);
    EXPECT_EQ(align, DMALIGN_CENTER);
    ParseAlignWord(L"right", align);
    EXPECT_EQ(align, DMALIGN_RIGHT);
    ParseAlignWord(L"middle", align);
    EXPECT_EQ(align, DMALIGN_RIGHT);
    UINT valign = DMALIGN_MIDDLE;
    ParseVAlignWord(L"bottom", valign);
    EXPECT_EQ(valign, DMALIGN_BOTTOM);

    EXPECT_EQ(SystemCursorFromName(L"arrow"), 32512);
    EXPECT_EQ(SystemCursorFromName(L" Size NWSE "), 32642);
    EXPECT_EQ(SystemCursorFromName(L"HAND"), 32649);
    EXPECT_EQ(SystemCursorFromName(L"cur_drag"), 0);
}

}  // namespace
