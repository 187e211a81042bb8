// The task runner: named events in their three modes, disconnection of queued calls, and the
// UI and worker queues.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMTaskRunner.h"
#include "plat/headless.h"
#include "plat/message_queue.h"

using namespace DM;
using namespace std::chrono_literals;

namespace {

struct Counter {
    bool OnEvent(const DMEventSender& sender, DMBundle* bundle) {
        ++calls;
        thread = plat::GetCurrentThreadId();
        senderType = sender.m_nType;
        if (const DMStringT* value = bundle ? bundle->Get(L"key") : nullptr) {
            seen = *value;
        }
        return true;
    }
    std::atomic<int> calls{0};
    std::atomic<DWORD> thread{0};
    int senderType = 0;
    DMStringT seen;
};

class FunctionTask : public IDMTask {
public:
    explicit FunctionTask(std::function<void()> body) : m_body(std::move(body)) {}
    void Run() override { m_body(); }

private:
    std::function<void()> m_body;
};

void Post(IDMTaskRunner& runner, int mode, std::function<void()> body) {
    auto task = DMSmartPtrT<IDMTask>::Adopt(new FunctionTask(std::move(body)));
    EXPECT_EQ(runner.PostTask(mode, task.get()), DM_ECODE_OK);
}

void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s) {
    auto until = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < until) {
        plat::MSG message{};
        while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
            plat::DispatchMessageW(&message);
        }
        std::this_thread::sleep_for(1ms);
    }
}

class TaskRunner : public ::testing::Test {
protected:
    void SetUp() override {
        IDMTaskRunner* found = nullptr;
        ASSERT_EQ(app.GetDefRegObj(&found, DMREG_TaskRunner), DM_ECODE_OK);
        runner.Attach(found);
    }
    DMApp app;
    DMSmartPtrT<IDMTaskRunner> runner;
};

TEST_F(TaskRunner, OneConnectionPerDelegateAndGroup) {
    Counter counter;
    DMDelegate delegate = MakeDelegate<&Counter::OnEvent>(&counter);
    EXPECT_EQ(runner->ConnectEvent(DMTASK_SYNC, L"changed", delegate, 1), DM_ECODE_OK);
    EXPECT_EQ(runner->ConnectEvent(DMTASK_SYNC, L"changed", delegate, -1), DM_ECODE_OK)
        << "group -1 is group 1";
    EXPECT_EQ(runner->FireEvent(L"changed"), DM_ECODE_OK);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(counter.senderType, 8);

    runner->ConnectEvent(DMTASK_SYNC, L"changed", delegate, 2);
    runner->FireEvent(L"changed");
    EXPECT_EQ(counter.calls, 3);

    EXPECT_EQ(runner->FireEvent(L"nobody listens"), DM_ECODE_OK);
    EXPECT_EQ(runner->FireEvent(L""), DM_ECODE_FAIL);
    EXPECT_EQ(runner->ConnectEvent(DMTASK_SYNC, L"", delegate, 0), DM_ECODE_FAIL);
    EXPECT_EQ(runner->ConnectEvent(3, L"changed", delegate, 0), DM_ECODE_FAIL);
    EXPECT_EQ(runner->ConnectEvent(DMTASK_SYNC, L"empty", DMDelegate{}, 0), DM_ECODE_FAIL);

    EXPECT_TRUE(runner->IsEventExists(L"changed"));
    EXPECT_EQ(runner->RemoveEvent(L"changed"), DM_ECODE_OK);
    EXPECT_EQ(runner->RemoveEvent(L"changed"), DM_ECODE_FAIL);
    runner->FireEvent(L"changed");
    EXPECT_EQ(counter.calls, 3);
}

TEST_F(TaskRunner, UICallsRunOnTheUIThreadUnlessDisconnectedFirst) {
    Counter counter;
    runner->ConnectEvent(DMTASK_UI, L"progress", MakeDelegate<&Counter::OnEvent>(&counter), 0);
    auto bundle = DMSmartPtrT<DMBundle>::Adopt(new DMBundle);
    bundle->Put(L"key", L"42%");
    std::thread([&] { runner->FireEvent(L"progress", bundle.get()); }).join();
    bundle->Put(L"key", L"changed after the fire");
    EXPECT_EQ(counter.calls, 0) << "queued, not called";
    PumpUntil([&] { return counter.calls == 1; });
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(counter.thread, plat::GetCurrentThreadId());
    EXPECT_EQ(counter.seen, L"42%") << "the queued call has its own copy";

    runner->FireEvent(L"progress");
    runner->DisconnectAll(&counter);
    PumpUntil([] { return false; }, 100ms);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_FALSE(runner->IsEventExists(L"nothing"));
}

TEST_F(TaskRunner, WorkTasksRunInOrderOnTheWorker) {
    std::atomic<int> step{0};
    std::atomic<DWORD> worker{0};
    std::vector<int> order;
    std::mutex lock;
    for (int i = 0; i < 5; ++i) {
        Post(*runner, DMTASK_WORK, [&, i] {
            worker = plat::GetCurrentThreadId();
            std::lock_guard<std::mutex> guard(lock);
            order.push_back(i);
        });
    }
    // A task the worker posts to itself runs on the worker's next pass.
    Post(*runner, DMTASK_WORK, [&] {
        Post(*runner, DMTASK_WORK, [&] { step = 2; });
        step = 1;
    });
    PumpUntil([&] { return step == 2; });
    EXPECT_EQ(step, 2);
    EXPECT_NE(worker, plat::GetCurrentThreadId());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));

    bool ran = false;
    Post(*runner, DMTASK_SYNC, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(runner->UnInitEvent(), DM_ECODE_OK);
}

// A teardown from another thread gives up waiting for the UI thread after a while; the UI
// thread, still busy with a task, finishes it on a handler that is still there.
TEST_F(TaskRunner, TeardownFromAnotherThreadOutlastsARunningUITask) {
    std::atomic<bool> running{false};
    std::atomic<bool> tornDown{false};
    Post(*runner, DMTASK_UI, [&] {
        running = true;
        while (!tornDown) {
            std::this_thread::sleep_for(1ms);
        }
    });
    std::thread teardown([&] {
        while (!running) {
            std::this_thread::sleep_for(1ms);
        }
        runner->UnInitEvent();
        tornDown = true;
    });
    PumpUntil([&] { return tornDown.load(); });
    teardown.join();
    PumpUntil([] { return false; }, 50ms);
    auto late = DMSmartPtrT<IDMTask>::Adopt(new FunctionTask([] {}));
    EXPECT_EQ(runner->PostTask(DMTASK_UI, late.get()), DM_ECODE_FAIL) << "the UI queue is gone";
}

// Posting and firing from one thread while another tears the runner down.
TEST_F(TaskRunner, PostingAndFiringRaceTheTeardown) {
    struct Tally {
        bool OnEvent(const DMEventSender&, DMBundle*) {
            ++calls;
            return true;
        }
        std::atomic<int> calls{0};
    } tally;
    runner->ConnectEvent(DMTASK_UI, L"tick", MakeDelegate<&Tally::OnEvent>(&tally), 0);
    runner->ConnectEvent(DMTASK_WORK, L"tick", MakeDelegate<&Tally::OnEvent>(&tally), 1);
    std::atomic<bool> stop{false};
    std::atomic<int> rounds{0};
    std::thread poster([&] {
        while (!stop) {
            runner->FireEvent(L"tick");
            auto task = DMSmartPtrT<IDMTask>::Adopt(new FunctionTask([] {}));
            runner->PostTask(DMTASK_UI, task.get());
            runner->PostTask(DMTASK_WORK, task.get());
            ++rounds;
        }
    });
    PumpUntil([&] { return rounds > 20 && tally.calls > 0; });
    EXPECT_EQ(runner->UnInitEvent(), DM_ECODE_OK);
    int after = rounds;
    PumpUntil([&] { return rounds > after + 20; });
    stop = true;
    poster.join();
    EXPECT_EQ(runner->UnInitEvent(), DM_ECODE_OK);
    EXPECT_GT(tally.calls, 0);
}

TEST_F(TaskRunner, AWorkerThatDoesNotStopEndsTheProcess) {
    EXPECT_EXIT(
        {
            std::atomic<bool> started{false};
            Post(*runner, DMTASK_WORK, [&] {
                started = true;
                std::this_thread::sleep_for(30s);
            });
            while (!started) {
                std::this_thread::sleep_for(1ms);
            }
            runner->UnInitEvent();
        },
        ::testing::ExitedWithCode(1), "StopTasks");
}

}  // namespace
