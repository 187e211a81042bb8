// One subscription of a delegate to an event, in the mode it was connected with: called at
// once in the firing thread, queued to the UI thread, or queued to the worker.
#pragma once

#include <atomic>

#include "DMSmartPtrT.h"
#include "IDMTaskRunner.h"

namespace DM {

class DMTaskRunnerImpl;

class DMSyncSlot : public DMRefNum {
public:
    explicit DMSyncSlot(const DMDelegate& delegate);

    virtual bool IsValid() const { return m_bConnected && !m_delegate.IsEmpty(); }
    virtual void Fire(const DMEventSender& sender, DMBundle* bundle);
    virtual DMSyncSlot* Clone() const { return new DMSyncSlot(m_delegate); }

    // Tasks already queued for the slot see it disconnected and do nothing.
    void Clear() { m_bConnected = false; }
    const DMDelegate& Delegate() const { return m_delegate; }

    bool m_bBlocked = false;
    const int m_nConnection;

protected:
    const DMDelegate m_delegate;
    // Cleared on the UI thread while queued tasks may check it on the worker.
    std::atomic<bool> m_bConnected{true};
};

class DMUISlot : public DMSyncSlot {
public:
    DMUISlot(const DMDelegate& delegate, DMTaskRunnerImpl& runner)
        : DMSyncSlot(delegate), m_runner(runner) {}
    void Fire(const DMEventSender& sender, DMBundle* bundle) override;
    DMSyncSlot* Clone() const override { return new DMUISlot(m_delegate, m_runner); }

private:
    DMTaskRunnerImpl& m_runner;
};

class DMWorkSlot : public DMSyncSlot {
public:
    DMWorkSlot(const DMDelegate& delegate, DMTaskRunnerImpl& runner)
        : DMSyncSlot(delegate), m_runner(runner) {}
    void Fire(const DMEventSender& sender, DMBundle* bundle) override;
    DMSyncSlot* Clone() const override { return new DMWorkSlot(m_delegate, m_runner); }

private:
    DMTaskRunnerImpl& m_runner;
};

// A queued call of a slot's delegate with its own copies of the sender and the bundle; it
// does nothing once the slot was disconnected.
class DMSlotTask : public IDMTask {
public:
    DMSlotTask(DMSyncSlot* slot, const DMEventSender& sender, DMBundle* bundle);
    void Run() override;

private:
    DMSmartPtrT<DMSyncSlot> m_slot;
    DMEventSender m_sender;
    DMSmartPtrT<DMBundle> m_bundle;
};

}  // namespace DM
