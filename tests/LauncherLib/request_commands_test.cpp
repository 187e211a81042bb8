// The request and file download commands without a server: what the client registers, and
// addresses that cannot be reached or parsed, run on a real worker one after another.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "CurrentFolder.h"
#include "LauncherLib/CommandManager.h"
#include "LauncherLib/CommandParams.h"
#include "LauncherLib/CommandRegistry.h"
#include "LauncherLib/HttpGetCommand.h"
#include "LauncherLib/HttpGetFileCommand.h"
#include "LauncherLib/HttpPostCommand.h"
#include "LauncherLib/LaunchClient.h"
#include "LauncherLib/UnZipCommand.h"
#include "LauncherLib/UrlHttpGetBigFileCommand.h"
#include "LauncherLib/UrlHttpGetFileCommand.h"
#include "LauncherLib/UrlHttpPostCommand.h"
#include "WaitUntil.h"

using namespace LauncherLib;

namespace {

// Nothing listens on port 1 of the loopback.
constexpr const char* kRefused = "http://127.0.0.1:1/files/Vael_1.2.3.zip";
constexpr const char* kUnparsable = "http://127.0.0.1:99999/files/Vael_1.2.3.zip";

// The parameter text each command takes for an address.
std::string ParamsFor(const std::string& name, const std::string& url) {
    if (name == "httppostcmd" || name == "httpcurlpostcmd") {
        return MapToJson({{"url", url}});
    }
    return url;
}

// The results of every command the worker ran, in order.
class ResultsSink : public ICommandNotify {
public:
    void OnNotify(CommandPtr command, int state, ResultMapPtr result) override {
        if (state == 1) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_runs.push_back({command->GetId(), command->IsSuccess(), result->Snapshot()});
        }
    }
    struct Run {
        std::string id;
        bool success;
        ResultMap::Entries result;
    };
    std::vector<Run> Runs() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_runs;
    }

private:
    std::mutex m_lock;
    std::vector<Run> m_runs;
};

template <typename Command>
bool Creates(const std::string& name) {
    return dynamic_cast<Command*>(CreateCommand(name, "").get()) != nullptr;
}

TEST(RequestCommands, InitRegistersEveryCommandOfTheEngine) {
    LaunchClient client;
    client.Init("", "");
    EXPECT_TRUE(Creates<CHttpGetCommand>("httpgetcmd"));
    EXPECT_TRUE(Creates<CHttpPostCommand>("httppostcmd"));
    EXPECT_TRUE(Creates<CUrlHttpPostCommand>("httpcurlpostcmd"));
    EXPECT_TRUE(Creates<CHttpGetFileCommand>("httpgetfilecmd"));
    EXPECT_TRUE(Creates<CUrlHttpGetFileCommand>("httpurlgetfilecmd"));
    EXPECT_TRUE(Creates<CUrlHttpGetBigFileCommand>("httpurlgetbigfilecmd"));
    EXPECT_TRUE(Creates<CUnZipCommand>("UnzipCommand"));
    EXPECT_TRUE(CreateCommand(client.PostCommandName(), "{}"));
}

// Every failure is reported in the result map; nothing leaves Execute, so the worker goes on
// with the command after it.
TEST(RequestCommands, UnreachableAndUnparsableAddressesFailWithMinusOne) {
    vael::test::CurrentFolder folder;
    LaunchClient client;
    client.Init("", "");
    const std::vector<std::string> names = {"httpgetcmd", "httppostcmd", "httpcurlpostcmd",
                                            "httpgetfilecmd", "httpurlgetfilecmd"};
    ResultsSink sink;
    CCommandManager manager;
    manager.Start(&sink);
    for (const char* url : {kRefused, kUnparsable}) {
        for (const std::string& name : names) {
            manager.AddCommand(CreateCommand(name, ParamsFor(name, url)));
        }
    }
    CommandPtr last = CreateCommand("httpgetcmd", kRefused);
    manager.AddCommand(last);
    ASSERT_TRUE(vael::test::WaitUntil([&] { return sink.Runs().size() == 11; }));

    std::vector<ResultsSink::Run> runs = sink.Runs();
    EXPECT_EQ(runs.back().id, last->GetId());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const ResultsSink::Run& run = runs[i];
        EXPECT_FALSE(run.success) << run.id;
        EXPECT_EQ(run.result.at("code"), "-1") << run.id;
        bool unparsable = i >= names.size() && i < 2 * names.size();
        if (unparsable) {
            EXPECT_EQ(run.result.at("content").rfind("Bad URI syntax", 0), 0u) << run.id;
        } else if (run.id.rfind("httpurlgetfilecmd", 0) == 0) {
            EXPECT_EQ(run.result.at("Error"), "liburl error code: 7") << run.id;
        } else if (run.id.rfind("httpcurlpostcmd", 0) == 0) {
            EXPECT_EQ(run.result.at("content"), "Couldn't connect to server") << run.id;
        } else {
            EXPECT_EQ(run.result.at("content"), "Connection refused") << run.id;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "Vael_1.2.3.zip"));
}

TEST(RequestCommands, PostParametersThatAreNoJsonObjectFailBeforeAnyRequest) {
    for (const char* name : {"httppostcmd", "httpcurlpostcmd"}) {
        for (const char* params : {"not json", "[1, 2]", ""}) {
            std::unique_ptr<CCommandBase> command;
            if (std::string(name) == "httppostcmd") {
                command = std::make_unique<CHttpPostCommand>("post-1", params);
            } else {
                command = std::make_unique<CUrlHttpPostCommand>("post-1", params);
            }
            auto result = std::make_shared<ResultMap>();
            command->Execute(result);
            EXPECT_FALSE(command->IsSuccess()) << name << " " << params;
            EXPECT_EQ(result->Snapshot(),
                      (ResultMap::Entries{{"error", "fail to parse json value"}}))
                << name << " " << params;
        }
    }
}

}  // namespace
