#include "DMTaskRunnerImpl.h"

#include <cstdlib>

namespace DM {

DMEventSlot::~DMEventSlot() {
    m_groups.ForEach([](int, const std::vector<DMSmartPtrT<DMSyncSlot>>& slots) {
        for (const DMSmartPtrT<DMSyncSlot>& slot : slots) {
            slot->Clear();
        }
    });
}

DMTaskRunnerImpl::~DMTaskRunnerImpl() {
    UnInitEvent();
}

DMCode DMTaskRunnerImpl::InitEvent(DWORD uiThreadId) {
    if (uiThreadId == 0) {
        return DM_ECODE_FAIL;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_pUIHandler) {
        return DM_ECODE_OK;
    }
    auto handler = std::make_shared<DMUITaskHandler>();
    if (!handler->Create()) {
        return DM_ECODE_FAIL;
    }
    m_pUIHandler = std::move(handler);
    return DM_ECODE_OK;
}

// The handlers leave the runner under the lock and are stopped outside it, since the tasks
// that are still running may post or fire while the stop waits for them. One teardown at a
// time.
DMCode DMTaskRunnerImpl::UnInitEvent() {
    std::lock_guard<std::mutex> teardown(m_teardownLock);
    std::shared_ptr<DMUITaskHandler> ui;
    DMWorkTaskHandler* work = nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ui = std::move(m_pUIHandler);
        work = m_pWorkHandler.get();
    }
    if (ui) {
        ui->Destroy();
    }
    if (work && !work->IsWorkerThread()) {
        work->Stop();
        std::unique_ptr<DMWorkTaskHandler> stopped;
        std::lock_guard<std::mutex> guard(m_lock);
        stopped = std::move(m_pWorkHandler);
    }
    return DM_ECODE_OK;
}

bool DMTaskRunnerImpl::IsEventExists(const wchar_t* name) {
    std::lock_guard<std::mutex> guard(m_lock);
    return name && m_events.Find(name) != nullptr;
}

DMCode DMTaskRunnerImpl::RemoveEvent(const wchar_t* name) {
    std::lock_guard<std::mutex> guard(m_lock);
    return name && *name && m_events.RemoveKey(name) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMTaskRunnerImpl::DisconnectAll(void* target) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_events.ForEach([target](const DMStringT&, const DMSmartPtrT<DMEventSlot>& event) {
        std::vector<int> emptied;
        event->m_groups.ForEach([&](int group, const std::vector<DMSmartPtrT<DMSyncSlot>>&) {
            auto& slots = *event->m_groups.Find(group);
            for (auto it = slots.begin(); it != slots.end();) {
                if ((*it)->Delegate().target == target) {
                    (*it)->Clear();
                    it = slots.erase(it);
                } else {
                    ++it;
                }
            }
            if (slots.empty()) {
                emptied.push_back(group);
            }
        });
        for (int group : emptied) {
            event->m_groups.RemoveKey(group);
        }
    });
    return DM_ECODE_OK;
}

DMCode DMTaskRunnerImpl::RemoveAllEvent() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_events.RemoveAll();
    return DM_ECODE_OK;
}

DMSmartPtrT<DMSyncSlot> DMTaskRunnerImpl::MakeSlot(int mode, const DMDelegate& delegate) {
    switch (mode) {
        case DMTASK_SYNC:
            return DMSmartPtrT<DMSyncSlot>::Adopt(new DMSyncSlot(delegate));
        case DMTASK_UI:
            return DMSmartPtrT<DMSyncSlot>::Adopt(new DMUISlot(delegate, *this));
        case DMTASK_WORK:
            return DMSmartPtrT<DMSyncSlot>::Adopt(new DMWorkSlot(delegate, *this));
        default:
            return {};
    }
}

DMCode DMTaskRunnerImpl::ConnectEvent(int mode, const wchar_t* name, const DMDelegate& delegate,
                                      int group) {
    DMSmartPtrT<DMSyncSlot> slot =
        name && *name ? MakeSlot(mode, delegate) : DMSmartPtrT<DMSyncSlot>();
    if (!slot) {
        return DM_ECODE_FAIL;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    DMSmartPtrT<DMEventSlot>* found = m_events.Find(name);
    if (!found) {
        m_events.SetAt(name, DMSmartPtrT<DMEventSlot>::Adopt(new DMEventSlot(name)));
        found = m_events.Find(name);
    }
    int key = std::abs(group);
    std::vector<DMSmartPtrT<DMSyncSlot>>* slots = (*found)->m_groups.Find(key);
    if (!slots) {
        (*found)->m_groups.SetAt(key, {});
        slots = (*found)->m_groups.Find(key);
    }
    for (const DMSmartPtrT<DMSyncSlot>& present : *slots) {
        if (present->Delegate() == delegate) {
            return present->IsValid() ? DM_ECODE_OK : DM_ECODE_FAIL;
        }
    }
    slots->push_back(DMSmartPtrT<DMSyncSlot>::Adopt(slot->Clone()));
    return slots->back()->IsValid() ? DM_ECODE_OK : DM_ECODE_FAIL;
}

// The connections are taken under the lock and fired outside it, so a delegate may connect
// or disconnect while it runs.
DMCode DMTaskRunnerImpl::FireEvent(const wchar_t* name, DMBundle* bundle) {
    if (!name || !*name) {
        return DM_ECODE_FAIL;
    }
    std::vector<DMSmartPtrT<DMSyncSlot>> connections;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        DMSmartPtrT<DMEventSlot>* event = m_events.Find(name);
        if (!event) {
            return DM_ECODE_OK;
        }
        (*event)->m_groups.ForEach([&](int, const std::vector<DMSmartPtrT<DMSyncSlot>>& slots) {
            connections.insert(connections.end(), slots.begin(), slots.end());
        });
    }
    DMEventSender sender;
    for (const DMSmartPtrT<DMSyncSlot>& connection : connections) {
        if (!connection->m_bBlocked) {
            connection->Fire(sender, bundle);
        }
    }
    return DM_ECODE_OK;
}

DMCode DMTaskRunnerImpl::FireEvent(const wchar_t* name) {
    auto bundle = DMSmartPtrT<DMBundle>::Adopt(new DMBundle);
    return FireEvent(name, bundle.get());
}

DMCode DMTaskRunnerImpl::PostTask(int mode, IDMTask* task) {
    if (!task) {
        return DM_ECODE_FAIL;
    }
    switch (mode) {
        case DMTASK_SYNC:
            task->Run();
            return DM_ECODE_OK;
        case DMTASK_UI:
            task->AddRef();
            return QueueToUI(DMMSG_POSTTASK, task) ? DM_ECODE_OK : DM_ECODE_FAIL;
        case DMTASK_WORK:
            task->AddRef();
            return QueueToWorker(task) ? DM_ECODE_OK : DM_ECODE_FAIL;
        default:
            return DM_ECODE_FAIL;
    }
}

bool DMTaskRunnerImpl::QueueToUI(UINT message, IDMTask* task) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_pUIHandler) {
        task->Release();
        return false;
    }
    return m_pUIHandler->Post(message, task);
}

bool DMTaskRunnerImpl::QueueToWorker(IDMTask* task) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_pWorkHandler) {
        auto handler = std::make_unique<DMWorkTaskHandler>();
        if (!handler->Start()) {
            task->Release();
            return false;
        }
        m_pWorkHandler = std::move(handler);
    }
    m_pWorkHandler->Post(task);
    return true;
}

}  // namespace DM
