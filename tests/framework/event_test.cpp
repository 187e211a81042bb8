// The event manager: subscriptions per id, handled counts and muting.
#include <gtest/gtest.h>

#include "DMApp.h"
#include "DMEventMgr.h"
#include "DMSmartPtrT.h"
#include "DUIWindow.h"

using namespace DM;

namespace {

struct Listener {
    DMCode Handle(DMEventArgs*) {
        ++calls;
        return DM_ECODE_OK;
    }
    DMCode Pass(DMEventArgs*) {
        ++calls;
        return DM_ECODE_FAIL;
    }
    int calls = 0;
};

// Events need a sender to be valid; the manager does not look at it.
class EventTest : public ::testing::Test {
protected:
    DMApp app;
    DMSmartPtrT<DUIWindow> sender = DMSmartPtrT<DUIWindow>::Adopt(new DUIWindow);
    DUIWindow* kSender = sender.get();
};

TEST_F(EventTest, DuplicateSubscriptionIsKeptOnce) {
    DMEventMgr manager;
    Listener listener;
    EXPECT_TRUE(
        manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &listener)));
    EXPECT_FALSE(
        manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &listener)));
    DMEventCmdArgs event(kSender);
    manager.FireEvent(event);
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(event.m_iHandleCount, 1);
}

TEST_F(EventTest, EverySlotRunsAndHandlingOnesCount) {
    DMEventMgr manager;
    Listener first, second, passer;
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &first));
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Pass, &passer));
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &second));
    manager.SubscribeEvent(DMEventSetFocusArgs::EventID, Subscriber(&Listener::Handle, &first));
    DMEventCmdArgs event(kSender);
    manager.FireEvent(event);
    EXPECT_EQ(event.m_iHandleCount, 2);
    EXPECT_EQ(first.calls + second.calls + passer.calls, 3);

    DMEventCheckChangedCmdArgs unsubscribed(kSender);
    manager.FireEvent(unsubscribed);
    EXPECT_EQ(unsubscribed.m_iHandleCount, 0);
}

TEST_F(EventTest, MutedDeliversNothing) {
    DMEventMgr manager;
    Listener listener;
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &listener));
    manager.SetMuted(true);
    DMEventCmdArgs event(kSender);
    manager.FireEvent(event);
    EXPECT_EQ(listener.calls, 0);
    EXPECT_EQ(event.m_iHandleCount, 0);
}

TEST_F(EventTest, UnsubscribingAnUnknownSlotChangesNothing) {
    DMEventMgr manager;
    Listener listener, stranger;
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &listener));
    EXPECT_FALSE(manager.UnSubscribeEvent(DMEventCmdArgs::EventID,
                                          Subscriber(&Listener::Handle, &stranger)));
    EXPECT_FALSE(
        manager.UnSubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Pass, &listener)));
    EXPECT_FALSE(manager.UnSubscribeEvent(DMEventKillFocusArgs::EventID,
                                          Subscriber(&Listener::Handle, &listener)));
    DMEventCmdArgs event(kSender);
    manager.FireEvent(event);
    EXPECT_EQ(listener.calls, 1);

    EXPECT_TRUE(manager.UnSubscribeEvent(DMEventCmdArgs::EventID,
                                         Subscriber(&Listener::Handle, &listener)));
    manager.FireEvent(event);
    EXPECT_EQ(listener.calls, 1);
}

// A slot that changes the subscriptions while the event is fired.
struct Meddler {
    DMCode UnsubscribeSelf(DMEventArgs*) {
        ++calls;
        manager->UnSubscribeEvent(DMEventCmdArgs::EventID,
                                  Subscriber(&Meddler::UnsubscribeSelf, this));
        return DM_ECODE_FAIL;
    }
    DMCode UnsubscribeOther(DMEventArgs*) {
        ++calls;
        manager->UnSubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, other));
        manager->SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Pass, other));
        return DM_ECODE_FAIL;
    }
    DMCode RemoveAll(DMEventArgs*) {
        ++calls;
        manager->RemoveAll();
        return DM_ECODE_OK;
    }
    DMCode ReleaseWidget(DMEventArgs*) {
        ++calls;
        widget.Release();
        return DM_ECODE_FAIL;
    }
    DMEventMgr* manager = nullptr;
    Listener* other = nullptr;
    DMSmartPtrT<DUIWindow> widget;
    int calls = 0;
};

TEST_F(EventTest, SlotsThatChangeTheSubscriptionsWhileFiring) {
    DMEventMgr manager;
    Meddler self{&manager};
    Listener after, removed;
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Meddler::UnsubscribeSelf, &self));
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &after));
    DMEventCmdArgs event(kSender);
    manager.FireEvent(event);
    EXPECT_EQ(after.calls, 1) << "the slot after one that unsubscribed itself still runs";
    manager.FireEvent(event);
    EXPECT_EQ(self.calls, 1);
    EXPECT_EQ(after.calls, 2);

    DMEventMgr second;
    Meddler remover{&second, &removed};
    second.SubscribeEvent(DMEventCmdArgs::EventID,
                          Subscriber(&Meddler::UnsubscribeOther, &remover));
    second.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &removed));
    DMEventCmdArgs other(kSender);
    second.FireEvent(other);
    EXPECT_EQ(removed.calls, 0) << "removed before its turn; subscribed during the firing";
    second.FireEvent(other);
    EXPECT_EQ(removed.calls, 1);
}

TEST_F(EventTest, ASlotThatRemovesEverythingEndsTheFiringSafely) {
    DMEventMgr manager;
    Meddler clearer{&manager};
    Listener before, after;
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &before));
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Meddler::RemoveAll, &clearer));
    manager.SubscribeEvent(DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &after));
    DMEventCmdArgs event(kSender);
    manager.FireEvent(event);
    EXPECT_EQ(before.calls, 1);
    EXPECT_EQ(clearer.calls, 1);
    EXPECT_EQ(after.calls, 0);
    EXPECT_EQ(event.m_iHandleCount, 2);
    manager.FireEvent(event);
    EXPECT_EQ(clearer.calls, 1);
}

TEST_F(EventTest, ASlotThatReleasesTheSenderLetsTheRoutingFinish) {
    Meddler releaser;
    releaser.widget = DMSmartPtrT<DUIWindow>::Adopt(new DUIWindow);
    DUIWindow* widget = releaser.widget.get();
    Listener later;
    widget->GetEventMgr().SubscribeEvent(DMEventCmdArgs::EventID,
                                         Subscriber(&Meddler::ReleaseWidget, &releaser));
    widget->GetEventMgr().SubscribeEvent(DMEventCmdArgs::EventID,
                                         Subscriber(&Listener::Handle, &later));
    DMEventCmdArgs event(widget);
    EXPECT_EQ(widget->FireEvent(event), DM_ECODE_OK);
    EXPECT_EQ(releaser.calls, 1);
    EXPECT_EQ(later.calls, 1);
}

TEST_F(EventTest, IdsAndNames) {
    DMEventCmdArgs command(kSender);
    DMEventREWantReturnArgs wantReturn(kSender);
    DMEventSDChangingArgs sliderChanging(kSender);
    DMEventChildLayoutFinishedArgs layoutFinished(kSender);
    struct {
        const DMEventArgs& event;
        int id;
        const wchar_t* name;
    } cases[] = {
        {command, 10000, L"DMEVT_CMD"},
        {wantReturn, 14001, L"DMEVT_REWANTRETURN"},
        {sliderChanging, 22000, L"DMEVT_SD_POSCHANG"},
        {layoutFinished, 22250, L"DMEVT_CHILDLAYOUT_FINISHED"},
    };
    sender->SetAttribute(L"name", L"close", true);
    sender->SetAttribute(L"id", L"7", true);
    DMEventCmdArgs named(kSender);
    EXPECT_STREQ(named.m_szNameFrom, L"close");
    EXPECT_EQ(named.m_IdFrom, 7);
    for (const auto& c : cases) {
        EXPECT_EQ(c.event.GetEventID(), c.id);
        EXPECT_STREQ(c.event.GetEventName(), c.name);
        EXPECT_TRUE(c.event.IsValid());
    }
    EXPECT_FALSE(DMEventCmdArgs(nullptr).IsValid());
}

}  // namespace
