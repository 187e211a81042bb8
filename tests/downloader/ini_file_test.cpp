#include <gtest/gtest.h>

#include <string>

#include "IniFile.h"

namespace {

struct Lookup {
    const char* section;
    const char* key;
    const char* expected;  // "<default>" when the look-up must fall back to the default
};

struct IniCase {
    const char* name;
    std::string text;
    std::vector<Lookup> lookups;
};

constexpr const char* kDefault = "<default>";

// The configuration text as it ships: two sections, CRLF line ends, no final line end.
const std::string kBuildText =
    "[Downloader]\r\nurlDownload=http://dl.example.com/client/Vael_1.2.3.zip\r\n"
    "[IEUrl]\r\nurlIE=https://news.example.com/launcher/index.html";

const IniCase kCases[] = {
    {"BuildText",
     kBuildText,
     {{"Downloader", "urlDownload", "http://dl.example.com/client/Vael_1.2.3.zip"},
      {"IEUrl", "urlIE", "https://news.example.com/launcher/index.html"}}},
    {"SpaceAroundEqualsStaysInValue",
     "[Downloader]\r\nurlDownload = x\r\n",
     {{"Downloader", "urlDownload", " x"}}},
    {"KeysAreCaseSensitive",
     "[Downloader]\nURLDOWNLOAD=x\n",
     {{"Downloader", "urlDownload", kDefault}, {"Downloader", "URLDOWNLOAD", "x"}}},
    {"SectionNameTrimmed", "[ Downloader ]\nurlDownload=x\n", {{"Downloader", "urlDownload", "x"}}},
    {"InnerSpaceStaysInSectionName",
     "[Down loader]\nurlDownload=x\n",
     {{"Down loader", "urlDownload", "x"}, {"Downloader", "urlDownload", kDefault}}},
    {"EverythingAfterFirstEqualsIsValue",
     "[Downloader]\nurlDownload=a=b\n",
     {{"Downloader", "urlDownload", "a=b"}}},
    {"EmptyValueGivesDefault",
     "[Downloader]\nurlDownload=\r\n",
     {{"Downloader", "urlDownload", kDefault}}},
    {"LaterKeyWins",
     "[Downloader]\nurlDownload=first\nurlDownload=second\n",
     {{"Downloader", "urlDownload", "second"}}},
    {"KeysBeforeHeaderGoToEmptySection",
     "urlDownload=x\n[Downloader]\n",
     {{"", "urlDownload", "x"}, {"Downloader", "urlDownload", kDefault}}},
    {"UnclosedHeaderKeepsPreviousSection",
     "[IEUrl]\n[Downloader\nurlDownload=x\n",
     {{"IEUrl", "urlDownload", "x"}, {"Downloader", "urlDownload", kDefault}}},
    {"EmptyKey", "=x\n", {{"", "", "x"}}},
    {"OnlyWhiteSpace", " \t\r\n\n\v\f \n", {{"", "", kDefault}}},
    {"KeyLineWithoutEqualsDropped",
     "[a]\nfoo bar\nk=v\n",
     {{"a", "foo bar", kDefault}, {"a", "k", "v"}}},
    {"KeyTrimmedInnerSpaceKept", "[a]\n  my key \t= v\n", {{"a", "my key", " v"}}},
    {"HeaderThenKeyOnOneLine", "[a]b=c\n", {{"a", "b", "c"}}},
    {"SecondHeaderOnLineReplacesFirst", "[a][b]k=v\n", {{"b", "k", "v"}, {"a", "k", kDefault}}},
    {"EmptyHeaderIsEmptySection", "[a]\n[]\nk=v\n", {{"", "k", "v"}, {"a", "k", kDefault}}},
    {"NoCommentSyntax", ";k=v\n#h=w\n", {{"", ";k", "v"}, {"", "#h", "w"}}},
    {"CarriageReturnAtTextEndStays", "[a]\nk=v\r", {{"a", "k", "v\r"}}},
    {"ValueKeepsTrailingSpaceAndBrackets", "[a]\nk=[x] \t\r\n", {{"a", "k", "[x] \t"}}},
    {"HighBytesAreNotWhiteSpace", "[a]\n\xA0k\xA0=v\n", {{"a", "\xA0k\xA0", "v"}}},
    {"NamesCompareUpToFirstZeroByte", std::string("[a\0x]\nk=v\n", 11), {{"a", "k", "v"}}},
};

void PrintTo(const IniCase& c, std::ostream* os) {
    *os << c.name;
}

class IniParse : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniParse, LooksUpAsTheGrammarSays) {
    const IniCase& c = GetParam();
    CIniFile ini;
    EXPECT_TRUE(ini.Parse(c.text));
    for (const Lookup& lookup : c.lookups) {
        EXPECT_EQ(ini.GetValue(lookup.section, lookup.key, kDefault), lookup.expected)
            << "[" << lookup.section << "] " << lookup.key;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, IniParse, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, EmptyTextReportsFalseAndDiscardsPreviousDocument) {
    CIniFile ini;
    ASSERT_TRUE(ini.Parse("[a]\nk=v\n"));
    EXPECT_FALSE(ini.Parse(""));
    EXPECT_EQ(ini.GetValue("a", "k", "d"), "d");
}

TEST(IniFile, SecondParseDiscardsFirstDocument) {
    CIniFile ini;
    ASSERT_TRUE(ini.Parse(kBuildText));
    ASSERT_TRUE(ini.Parse("[IEUrl]\nurlIE=other\n"));
    EXPECT_EQ(ini.GetValue("Downloader", "urlDownload", ""), "");
    EXPECT_EQ(ini.GetValue("IEUrl", "urlIE", ""), "other");
}

}  // namespace
