// The GET and the two POST commands against nginx and the fault server on loopback; the fault
// server records what the POSTs sent.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HttpServers.h"
#include "LauncherLib/CommandParams.h"
#include "LauncherLib/HttpGetCommand.h"
#include "LauncherLib/HttpPostCommand.h"
#include "LauncherLib/UrlHttpPostCommand.h"
#include "TempDir.h"

using namespace LauncherLib;

namespace {

constexpr const char* kUserAgent =
    "Mozilla/5.0 (Windows NT 6.3; rv:36.0) Gecko/20100101 Firefox/36.04";
constexpr const char* kFormType = "application/x-www-form-urlencoded";

struct Outcome {
    bool success = false;
    ResultMap::Entries result;
};

Outcome RunCommand(CCommandBase& command) {
    auto result = std::make_shared<ResultMap>();
    command.Execute(result);
    return {command.IsSuccess(), result->Snapshot()};
}

// A reply file on the servers, named after the running test.
class Requests : public ::testing::Test {
protected:
    void SetUp() override { vael::test::WriteFile(vael::test::ServedFolder() / name, reply); }

    std::string Faulty(const std::string& directives, const std::string& file) const {
        return vael::test::FaultServerUrl("/id/" + name + directives + "/" + file);
    }

    std::string name = vael::test::UniqueFileName(".txt");
    std::string reply = "{\"gameInfos\":[]}\n" + vael::test::RandomBytes(20000, 3);
};

TEST_F(Requests, GetTakesTheBodyOf200AndOnlyTheStatusOfAnythingElse) {
    std::vector<std::string> log;
    CHttpGetCommand found("httpgetcmd-1", vael::test::NginxUrl("/" + name));
    found.SetLogSink([&](std::string line) { log.push_back(std::move(line)); });
    Outcome ok = RunCommand(found);
    EXPECT_TRUE(ok.success);
    EXPECT_EQ(ok.result, (ResultMap::Entries{{"code", "200"}, {"content", reply}}));
    std::string url = vael::test::NginxUrl("");
    EXPECT_EQ(log, (std::vector<std::string>{"Create Session at " + url.substr(7)}));

    CHttpGetCommand missing("httpgetcmd-2", vael::test::NginxUrl("/missing/" + name));
    Outcome notFound = RunCommand(missing);
    EXPECT_FALSE(notFound.success);
    EXPECT_EQ(notFound.result, (ResultMap::Entries{{"code", "404"}}));

    CHttpGetCommand moved("httpgetcmd-3", vael::test::NginxUrl("/moved/" + name));
    Outcome redirected = RunCommand(moved);
    EXPECT_FALSE(redirected.success);
    EXPECT_EQ(redirected.result, (ResultMap::Entries{{"code", "302"}}));
    EXPECT_EQ(vael::test::NginxUserAgentsFor(name), (std::vector<std::string>(3, kUserAgent)));
}

// Both POST commands, by name.
class Posts : public Requests, public ::testing::WithParamInterface<const char*> {
protected:
    Outcome Post(const std::string& url, const std::string& params) {
        std::string text = "{\"url\":\"" + url + "\"" + params + "}";
        std::unique_ptr<CCommandBase> command;
        if (std::string(GetParam()) == "httppostcmd") {
            command = std::make_unique<CHttpPostCommand>("httppostcmd-1", text);
        } else {
            command = std::make_unique<CUrlHttpPostCommand>("httpcurlpostcmd-1", text);
        }
        return RunCommand(*command);
    }

    bool Follows() const { return std::string(GetParam()) == "httpcurlpostcmd"; }
};

TEST_P(Posts, FieldsGoInAscendingNameOrderWithTheLaterOfTwoNames) {
    Outcome run =
        Post(Faulty("", name), R"(,"params":[{"b":"2","ignored":"x"},{"a":"1"},{"B":"x y&z=1"},)"
                               R"({"a":"3"},{"n":5},{},"c"])");
    EXPECT_TRUE(run.success);
    EXPECT_EQ(run.result, (ResultMap::Entries{{"code", "200"}, {"content", reply}}));
    EXPECT_EQ(vael::test::FaultServerBodies(name),
              (std::vector<std::string>{std::string(kFormType) + "\t" + kUserAgent +
                                        "\tB=x%20y%26z%3D1&a=3&b=2"}));
}

TEST_P(Posts, MissingNullOrOtherParamsSendAnEmptyForm) {
    for (const char* params : {"", R"(,"params":null)", R"(,"params":{"a":"1"})"}) {
        Outcome run = Post(Faulty("", name), params);
        EXPECT_TRUE(run.success) << params;
    }
    std::string empty = std::string(kFormType) + "\t" + kUserAgent + "\t";
    EXPECT_EQ(vael::test::FaultServerBodies(name), (std::vector<std::string>(3, empty)));
}

TEST_P(Posts, AnswersOtherThan200GiveTheirCode) {
    Outcome missing = Post(Faulty("", "missing.txt"), "");
    EXPECT_FALSE(missing.success);
    EXPECT_EQ(missing.result, (ResultMap::Entries{{"code", "404"}, {"content", "http code 404"}}));

    Outcome redirected = Post(Faulty("/redirect/2", name), R"(,"params":[{"a":"1"}])");
    if (Follows()) {
        EXPECT_TRUE(redirected.success);
        EXPECT_EQ(redirected.result, (ResultMap::Entries{{"code", "200"}, {"content", reply}}));
        EXPECT_EQ(vael::test::FaultServerRequests(name).size(), 4u);
    } else {
        EXPECT_FALSE(redirected.success);
        EXPECT_EQ(redirected.result,
                  (ResultMap::Entries{{"code", "302"}, {"content", "http code 302"}}));
    }
}

INSTANTIATE_TEST_SUITE_P(BothCommands, Posts, ::testing::Values("httppostcmd", "httpcurlpostcmd"));

}  // namespace
