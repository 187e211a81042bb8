#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "LauncherLib/CommandManager.h"
#include "ScriptedCommand.h"

using namespace LauncherLib;
using namespace std::chrono_literals;

namespace {

// Records "<id>:<state>" for every notification.
class RecordingSink : public ICommandNotify {
public:
    void OnNotify(CommandPtr command, int state, ResultMapPtr result) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_events.push_back(command->GetId() + ":" + std::to_string(state) + ":" +
                           (command->IsSuccess() ? "ok" : "fail") + ":" + result->Get("Error"));
    }
    std::vector<std::string> WaitFor(size_t count) {
        for (int i = 0; i < 400; ++i) {
            {
                std::lock_guard<std::mutex> lock(m_lock);
                if (m_events.size() >= count) {
                    return m_events;
                }
            }
            std::this_thread::sleep_for(10ms);
        }
        std::lock_guard<std::mutex> lock(m_lock);
        return m_events;
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_events;
};

class LogLines {
public:
    LogSink Sink() {
        return [this](std::string line) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_lines.push_back(std::move(line));
        };
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_lines;
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
};

CommandPtr Scripted(const std::string& id, vael::test::CommandBody body) {
    return std::make_shared<vael::test::ScriptedCommand>(id, "", std::move(body));
}

TEST(CommandManager, RunsCommandsOneAfterAnotherInOrder) {
    RecordingSink sink;
    CCommandManager manager;
    manager.Start(&sink);
    auto slow = [](CCommandBase& self, ResultMapPtr) {
        std::this_thread::sleep_for(30ms);
        self.SetSuccess();
    };
    manager.AddCommand(Scripted("a-1", slow));
    manager.AddCommand(Scripted("b-2", slow));
    EXPECT_EQ(sink.WaitFor(4),
              (std::vector<std::string>{"a-1:0:fail:", "a-1:1:ok:", "b-2:0:fail:", "b-2:1:ok:"}));
    ASSERT_NE(manager.GetResult("a-1"), nullptr);
    EXPECT_NE(manager.GetResult("a-1"), manager.GetResult("b-2"));
}

TEST(CommandManager, SecondStartIsRefusedAndStartsNoThread) {
    LogLines log;
    RecordingSink sink;
    {
        CCommandManager manager;
        manager.SetLogSink(log.Sink());
        manager.Start(&sink);
        manager.Start(&sink);
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(manager.IsProcessing());
    }
    std::vector<std::string> lines = log.Lines();
    auto count = [&lines](const char* line) {
        return std::count(lines.begin(), lines.end(), line);
    };
    EXPECT_EQ(count("info: Start the processing!"), 2);
    EXPECT_EQ(count("error: the manager is processing!"), 1);
    EXPECT_EQ(count("info: thread start the processing!"), 1);
    EXPECT_EQ(count("Info: thread exit!"), 1);
    EXPECT_EQ(lines.back(), "Info: thread exit!");
}

TEST(CommandManager, ExceptionFailsTheCommandAndTheWorkerGoesOn) {
    RecordingSink sink;
    CCommandManager manager;
    manager.Start(&sink);
    manager.AddCommand(Scripted("throws-1", [](CCommandBase& self, ResultMapPtr) {
        self.SetSuccess();
        throw std::runtime_error("disk on fire");
    }));
    manager.AddCommand(
        Scripted("next-2", [](CCommandBase& self, ResultMapPtr) { self.SetSuccess(); }));
    EXPECT_EQ(sink.WaitFor(4),
              (std::vector<std::string>{"throws-1:0:fail:", "throws-1:1:fail:disk on fire",
                                        "next-2:0:fail:", "next-2:1:ok:"}));
}

TEST(CommandManager, ExceptionFromTheSinkDoesNotEndTheWorker) {
    struct ThrowingSink : ICommandNotify {
        std::atomic<int> calls{0};
        void OnNotify(CommandPtr, int, ResultMapPtr) override {
            ++calls;
            throw 42;
        }
    } sink;
    CCommandManager manager;
    manager.Start(&sink);
    manager.AddCommand(Scripted("one-1", [](CCommandBase&, ResultMapPtr) {}));
    manager.AddCommand(Scripted("two-2", [](CCommandBase&, ResultMapPtr) {}));
    for (int i = 0; i < 200 && sink.calls < 4; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(sink.calls, 4);
    EXPECT_EQ(manager.GetResult("two-2")->Get("Error"), "unknown exception");
}

}  // namespace
