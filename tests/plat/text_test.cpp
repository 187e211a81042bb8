#include <gtest/gtest.h>

#include "plat/text.h"

namespace {

// "安装" in GBK and in UTF-8.
const std::string kGbk = "\xB0\xB2\xD7\xB0";
const std::string kUtf8 = "\xE5\xAE\x89\xE8\xA3\x85";

TEST(TextConversion, GbkRoundTripsThroughUtf8AndWide) {
    EXPECT_EQ(plat::AnsiToUtf8(kGbk), kUtf8);
    EXPECT_EQ(plat::Utf8ToAnsi(kUtf8), kGbk);
    EXPECT_EQ(plat::AnsiToWide(kGbk), L"\u5B89\u88C5");
    EXPECT_EQ(plat::WideToAnsi(L"\u5B89\u88C5"), kGbk);
    EXPECT_EQ(plat::WideToUtf8(plat::Utf8ToWide(kUtf8)), kUtf8);
}

TEST(TextConversion, CodePage936HasTheEuroSign) {
    EXPECT_EQ(plat::AnsiToWide("\x80"), L"\u20AC");
}

TEST(TextConversion, UnconvertibleInputBecomesQuestionMarks) {
    EXPECT_EQ(plat::WideToAnsi(L"a\U0001F600b"), "a?b");
    EXPECT_EQ(plat::Utf8ToWide("a\xFF"
                               "b"),
              L"a?b");
    // A lead byte at the very end has no trail byte.
    EXPECT_EQ(plat::AnsiToUtf8("ab\xB0"), "ab?");
}

TEST(TextConversion, Utf16CountsSurrogatePairs) {
    std::u16string utf16 = plat::WideToUtf16(L"A\U0001F600");
    EXPECT_EQ(utf16.size(), 3u);
    EXPECT_EQ(plat::Utf16ToWide(utf16), L"A\U0001F600");
}

TEST(TextConversion, EmbeddedZerosSurvive) {
    EXPECT_EQ(plat::AnsiToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
