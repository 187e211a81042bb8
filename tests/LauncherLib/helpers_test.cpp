#include <gtest/gtest.h>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/UrlFileName.h"

using namespace LauncherLib;

namespace {

TEST(FileNameFromUrl, TakesTheLastPieceBetweenSlashes) {
    struct {
        const char* url;
        const char* name;
    } cases[] = {
        {"", ""},
        {"srv//x/file.zip", "file.zip"},
        {"http://dl.example.com/client/Vael_1.2.3.zip", "Vael_1.2.3.zip"},
        {"srv/d/", "d"},
        {"srv/d//", "d"},
        {"srv/d/a.zip?x=1", "a.zip?x=1"},
        {"srv\\d\\a.zip", "srv\\d\\a.zip"},
        {"/", ""},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileNameFromUrl(c.url), c.name) << c.url;
    }
}

TEST(MapToJson, WritesCompactObjectsInKeyOrder) {
    struct {
        std::map<std::string, std::string> map;
        std::string json;
    } cases[] = {
        {{}, "{}"},
        {{{"url", "http://a/b.zip"}, {"path", "C:\\Games"}},
         R"({"path":"C:\\Games","url":"http://a/b.zip"})"},
        {{{"q", "say \"hi\""}}, R"({"q":"say \"hi\""})"},
        {{{"c", "\b\t\n\f\r\x01\x1f"}}, R"({"c":"\b\t\n\f\r\u0001\u001F"})"},
        {{{"gbk", "\xB0\xB2\xD7\xB0/x"}}, "{\"gbk\":\"\xB0\xB2\xD7\xB0/x\"}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapToJson(c.map), c.json);
    }
}

TEST(ParseJsonParams, ReadsStringMembersAndRefusesNonObjects) {
    auto params = ParseJsonParams(MapToJson({{"url", "u"}, {"path", "C:\\\xB0\xB2"}}));
    ASSERT_TRUE(params);
    EXPECT_EQ((*params)["path"], "C:\\\xB0\xB2");
    EXPECT_EQ(ParseJsonParams(R"({"n":1,"s":"x"})")->size(), 1u);
    EXPECT_FALSE(ParseJsonParams("http://a/b.zip"));
    EXPECT_FALSE(ParseJsonParams("[]"));
}

}  // namespace
