#include "DMEventMgr.h"

#include "DUIWindow.h"

namespace DM {

DMEventArgs::DMEventArgs(DUIWindow* sender) : m_pSender(sender) {
    if (sender) {
        m_IdFrom = sender->GetID();
        m_szNameFrom = sender->GetName().c_str();
    }
}

DMEventItem::~DMEventItem() {
    for (const auto& subscription : m_slots) {
        subscription->removed = true;
    }
}

bool DMEventItem::Subscribe(const DMSlotFunctorBase& slot) {
    for (const auto& present : m_slots) {
        if (present->slot->Equal(slot)) {
            return false;
        }
    }
    m_slots.push_back(std::make_shared<Subscription>(
        Subscription{std::unique_ptr<DMSlotFunctorBase>(slot.Clone())}));
    return true;
}

bool DMEventItem::UnSubscribe(const DMSlotFunctorBase& slot) {
    for (auto it = m_slots.begin(); it != m_slots.end(); ++it) {
        if ((*it)->slot->Equal(slot)) {
            (*it)->removed = true;
            m_slots.erase(it);
            return true;
        }
    }
    return false;
}

// Runs over a copy of the list, which keeps every subscription alive until the loop ends; the
// item itself is not touched once the copy is made.
void DMEventItem::Fire(DMEventArgs& event) {
    const std::vector<std::shared_ptr<Subscription>> firing = m_slots;
    for (const auto& subscription : firing) {
        if (!subscription->removed && subscription->slot->Invoke(&event)) {
            ++event.m_iHandleCount;
        }
    }
}

bool DMEventMgr::SubscribeEvent(int eventId, const DMSlotFunctorBase& slot) {
    DMEventItem* item = FindItem(eventId);
    if (!item) {
        item = m_items.emplace_back(std::make_unique<DMEventItem>(eventId)).get();
    }
    return item->Subscribe(slot);
}

bool DMEventMgr::UnSubscribeEvent(int eventId, const DMSlotFunctorBase& slot) {
    DMEventItem* item = FindItem(eventId);
    return item && item->UnSubscribe(slot);
}

void DMEventMgr::FireEvent(DMEventArgs& event) {
    DMEventItem* item = FindItem(event.GetEventID());
    if (!item || m_bMuted) {
        return;
    }
    item->Fire(event);
}

DMEventItem* DMEventMgr::FindItem(int eventId) {
    for (const auto& item : m_items) {
        if (item->GetEventID() == eventId) {
            return item.get();
        }
    }
    return nullptr;
}

}  // namespace DM
