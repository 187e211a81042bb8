// The task runner: named events with their connections by group, and the UI and worker
// queues the queued connections and posted tasks go to.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "DMConnectionSlots.h"
#include "DMMapT.h"
#include "DMRegType.h"
#include "DMTaskQueue.h"

namespace DM {

// The connections of one event name, by group number.
class DMEventSlot : public DMRefNum {
public:
    explicit DMEventSlot(DMStringT name) : m_strName(std::move(name)) {}
    ~DMEventSlot() override;

    DMMapT<int, std::vector<DMSmartPtrT<DMSyncSlot>>> m_groups;

private:
    DMStringT m_strName;
};

class DMTaskRunnerImpl : public IDMTaskRunner {
    DMDECLARE_CLASS_NAME(DMTaskRunnerImpl, IDMTaskRunner, L"DMEventImpl", L"IDMEvent",
                         DMREG_TaskRunner)
public:
    ~DMTaskRunnerImpl() override;

    DMCode InitEvent(DWORD uiThreadId) override;
    DMCode UnInitEvent() override;
    bool IsEventExists(const wchar_t* name) override;
    DMCode RemoveEvent(const wchar_t* name) override;
    DMCode DisconnectAll(void* target) override;
    DMCode RemoveAllEvent() override;
    DMCode ConnectEvent(int mode, const wchar_t* name, const DMDelegate& delegate,
                        int group) override;
    DMCode FireEvent(const wchar_t* name, DMBundle* bundle) override;
    DMCode FireEvent(const wchar_t* name) override;
    DMCode PostTask(int mode, IDMTask* task) override;

    // Take over the task's reference; false when it could not be queued (it is released).
    bool QueueToUI(UINT message, IDMTask* task);
    bool QueueToWorker(IDMTask* task);

private:
    DMSmartPtrT<DMSyncSlot> MakeSlot(int mode, const DMDelegate& delegate);

    std::mutex m_teardownLock;
    // Over the events and both handlers.
    std::mutex m_lock;
    DMMapT<DMStringT, DMSmartPtrT<DMEventSlot>> m_events;
    std::shared_ptr<DMUITaskHandler> m_pUIHandler;
    std::unique_ptr<DMWorkTaskHandler> m_pWorkHandler;
};

}  // namespace DM
