#include "DMConnectionSlots.h"

#include <atomic>

#include "DMTaskRunnerImpl.h"

namespace DM {
namespace {

int NextConnection() {
    static std::atomic<int> counter{0};
    return ++counter;
}

}  // namespace

DMBundle* DMBundle::Copy() const {
    auto* copy = new DMBundle;
    copy->m_values = m_values;
    return copy;
}

DMSyncSlot::DMSyncSlot(const DMDelegate& delegate)
    : m_nConnection(NextConnection()), m_delegate(delegate) {}

void DMSyncSlot::Fire(const DMEventSender& sender, DMBundle* bundle) {
    if (IsValid()) {
        m_delegate(sender, bundle);
    }
}

void DMUISlot::Fire(const DMEventSender& sender, DMBundle* bundle) {
    m_runner.QueueToUI(DMMSG_SLOTTASK, new DMSlotTask(this, sender, bundle));
}

void DMWorkSlot::Fire(const DMEventSender& sender, DMBundle* bundle) {
    m_runner.QueueToWorker(new DMSlotTask(this, sender, bundle));
}

DMSlotTask::DMSlotTask(DMSyncSlot* slot, const DMEventSender& sender, DMBundle* bundle)
    : m_slot(slot), m_sender(sender) {
    m_bundle.Attach(bundle ? bundle->Copy() : new DMBundle);
}

void DMSlotTask::Run() {
    if (m_slot->IsValid()) {
        m_slot->Delegate()(m_sender, m_bundle.get());
    }
}

}  // namespace DM
