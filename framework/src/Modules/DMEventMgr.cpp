#include "DMEventMgr.h"

#include "DUIWindow.h"

namespace DM {

DMEventArgs::DMEventArgs(DUIWindow* sender) : m_pSender(sender) {
    if (sender) {
        m_IdFrom = sender->GetID();
        m_szNameFrom = sender->GetName().c_str();
    }
}

bool DMEventItem::Subscribe(const DMSlotFunctorBase& slot) {
    for (const auto& present : m_slots) {
        if (present->Equal(slot)) {
            return false;
        }
    }
    m_slots.emplace_back(slot.Clone());
    return true;
}

bool DMEventItem::UnSubscribe(const DMSlotFunctorBase& slot) {
    for (auto it = m_slots.begin(); it != m_slots.end(); ++it) {
        if ((*it)->Equal(slot)) {
            m_slots.erase(it);
            return true;
        }
    }
    return false;
}

// By index: a slot may subscribe or unsubscribe others while it runs.
void DMEventItem::Fire(DMEventArgs& event) {
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i]->Invoke(&event)) {
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
