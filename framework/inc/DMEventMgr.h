// The events a widget offers, each id with its subscribed slots in subscription order.
#pragma once

#include <memory>
#include <vector>

#include "DMEventSlot.h"

namespace DM {

class DMEventItem {
public:
    explicit DMEventItem(int eventId) : m_eventId(eventId) {}
    ~DMEventItem();
    DMEventItem(const DMEventItem&) = delete;
    DMEventItem& operator=(const DMEventItem&) = delete;

    int GetEventID() const { return m_eventId; }
    // False when an equal slot is subscribed already; the item keeps a clone.
    bool Subscribe(const DMSlotFunctorBase& slot);
    bool UnSubscribe(const DMSlotFunctorBase& slot);
    // Invokes every slot subscribed when firing starts, unless it is removed before its turn;
    // each that handles the event adds one to its handled count. A slot may change the
    // subscriptions, or remove this item, while it runs.
    void Fire(DMEventArgs& event);

private:
    // Shared with a firing in progress, which skips a subscription once it is removed.
    struct Subscription {
        std::unique_ptr<DMSlotFunctorBase> slot;
        bool removed = false;
    };

    int m_eventId;
    std::vector<std::shared_ptr<Subscription>> m_slots;
};

class DMEventMgr {
public:
    bool SubscribeEvent(int eventId, const DMSlotFunctorBase& slot);
    bool UnSubscribeEvent(int eventId, const DMSlotFunctorBase& slot);
    void SetMuted(bool muted) { m_bMuted = muted; }
    bool IsMuted() const { return m_bMuted; }
    // Offers the event to every slot of its id, unless muted.
    void FireEvent(DMEventArgs& event);
    void RemoveAll() { m_items.clear(); }

private:
    DMEventItem* FindItem(int eventId);

    std::vector<std::unique_ptr<DMEventItem>> m_items;
    bool m_bMuted = false;
};

}  // namespace DM
