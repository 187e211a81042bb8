// The host's drop target: per-widget registration and a drag handed from widget to widget.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DMApp.h"
#include "DMCWnd.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIDropTargetDispatch.h"
#include "DUIWindow.h"
#include "StandInContainer.h"
#include "plat/headless.h"
#include "plat/messages.h"
#include "plat/window_styles.h"

using namespace DM;
using plat::DROPEFFECT_COPY;
using plat::DROPEFFECT_MOVE;
using plat::DROPEFFECT_NONE;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A data object holding no data, counting its references.
class CountedData : public plat::IDataObject {
public:
    plat::HRESULT QueryInterface(plat::REFIID, void** object) override {
        *object = nullptr;
        return plat::E_NOINTERFACE;
    }
    plat::ULONG AddRef() override { return ++references; }
    plat::ULONG Release() override { return --references; }
    plat::HRESULT GetData(plat::FORMATETC*, plat::STGMEDIUM*) override {
        return plat::DV_E_FORMATETC;
    }
    plat::HRESULT GetDataHere(plat::FORMATETC*, plat::STGMEDIUM*) override {
        return plat::E_NOTIMPL;
    }
    plat::HRESULT QueryGetData(plat::FORMATETC*) override { return plat::DV_E_FORMATETC; }

    plat::ULONG references = 1;
};

// Logs "<name>:<call>" and answers its own effect.
class RecordingTarget : public plat::IDropTarget {
public:
    RecordingTarget(const char* name, std::vector<std::string>& log, DWORD answer)
        : m_name(name), m_log(log), m_answer(answer) {}

    plat::HRESULT QueryInterface(plat::REFIID, void** object) override {
        *object = nullptr;
        return plat::E_NOINTERFACE;
    }
    plat::ULONG AddRef() override { return ++references; }
    plat::ULONG Release() override { return --references; }
    plat::HRESULT DragEnter(plat::IDataObject* data, DWORD, plat::POINTL, DWORD* effect) override {
        received = data;
        return Answer("enter", effect);
    }
    plat::HRESULT DragOver(DWORD, plat::POINTL, DWORD* effect) override {
        return Answer("over", effect);
    }
    plat::HRESULT DragLeave() override {
        m_log.push_back(m_name + ":leave");
        return plat::S_OK;
    }
    plat::HRESULT Drop(plat::IDataObject* data, DWORD, plat::POINTL, DWORD* effect) override {
        received = data;
        return Answer("drop", effect);
    }

    plat::ULONG references = 1;
    plat::IDataObject* received = nullptr;

private:
    plat::HRESULT Answer(const char* call, DWORD* effect) {
        m_log.push_back(m_name + ":" + call);
        *effect = m_answer;
        return plat::S_OK;
    }

    std::string m_name;
    std::vector<std::string>& m_log;
    DWORD m_answer;
};

// A host at (100, 50) on the screen; widgets "a", "b" and "c" side by side, each 100 wide, at
// the top of a 675 × 437 root.
class DropTargets : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        container.host =
            hostWindow.CreateWindowEx(plat::MAKEINTATOM(app.GetClassAtom()), L"host",
                                      plat::WS_POPUP, 0, 100, 50, 675, 437, nullptr, nullptr);
        root.Attach(new DUIWindow);
        root->SetContainer(&container);
        const std::string xml =
            "<dm><window name=\"a\" pos=\"0,0,@100,@100\"/><window name=\"b\" "
            "pos=\"200,0,@100,@100\"/><window name=\"c\" pos=\"400,0,@100,@100\"/></dm>";
        document.LoadFromBuffer(xml.data(), xml.size());
        DMXmlNode node = document.Root();
        root->CreateChildren(node);
        root->SetWndRect({0, 0, 675, 437});
        root->UpdateChildLayout();
    }
    void TearDown() override {
        root->SendMessage(plat::WM_DESTROY);
        hostWindow.DestroyWindow();
    }

    DUIWND Handle(const wchar_t* name) { return root->FindChildByName(name)->GetDUIWnd(); }
    // A screen point inside the widget's area.
    static plat::POINTL Over(int widgetLeft) { return {100 + widgetLeft + 50, 50 + 50}; }

    DMApp app;
    DMCWnd hostWindow;
    vael::test::StandInContainer container;
    DMSmartPtrT<DUIWindow> root;
    DMXmlDocument document;
    std::vector<std::string> log;
};

TEST_F(DropTargets, RegistrationKeepsOneReferencePerWidget) {
    RecordingTarget first("first", log, DROPEFFECT_COPY);
    RecordingTarget second("second", log, DROPEFFECT_COPY);
    {
        DUIDropTargetDispatch dispatch(root.get());
        EXPECT_TRUE(dispatch.RegisterDragDrop(Handle(L"a"), &first));
        EXPECT_FALSE(dispatch.RegisterDragDrop(Handle(L"a"), &second));
        EXPECT_EQ(first.references, 2u);
        EXPECT_EQ(second.references, 1u);

        EXPECT_TRUE(dispatch.UnRegisterDragDrop(Handle(L"a")));
        EXPECT_FALSE(dispatch.UnRegisterDragDrop(Handle(L"a")));
        EXPECT_EQ(first.references, 1u);

        EXPECT_TRUE(dispatch.RegisterDragDrop(Handle(L"b"), &second));
    }
    EXPECT_EQ(second.references, 1u) << "the dispatcher's end releases what is registered";
}

TEST_F(DropTargets, AnswersAsADropTargetWithoutCounting) {
    DUIDropTargetDispatch dispatch(root.get());
    struct {
        plat::IID iid;
        plat::HRESULT result;
        bool found;
    } cases[] = {
        {plat::IID_IUnknown, plat::S_OK, true},
        {plat::IID_IDropTarget, plat::S_OK, true},
        {plat::IID_IDataObject, plat::E_NOINTERFACE, false},
    };
    for (const auto& c : cases) {
        void* object = &log;
        EXPECT_EQ(dispatch.QueryInterface(c.iid, &object), c.result);
        EXPECT_EQ(object, c.found ? static_cast<plat::IDropTarget*>(&dispatch) : nullptr);
    }
    EXPECT_EQ(dispatch.AddRef(), 1u);
    EXPECT_EQ(dispatch.Release(), 1u);
}

TEST_F(DropTargets, ADragMovesFromWidgetToWidgetUntilTheDrop) {
    RecordingTarget a("a", log, DROPEFFECT_COPY);
    RecordingTarget b("b", log, DROPEFFECT_MOVE);
    CountedData data;
    DUIDropTargetDispatch dispatch(root.get());
    dispatch.RegisterDragDrop(Handle(L"a"), &a);
    dispatch.RegisterDragDrop(Handle(L"b"), &b);
    DWORD effect = DROPEFFECT_MOVE;

    dispatch.DragEnter(&data, 0, Over(0), &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(a.received, &data);
    EXPECT_EQ(data.references, 2u);
    dispatch.DragOver(0, Over(0), &effect);

    effect = DROPEFFECT_COPY;
    dispatch.DragOver(0, Over(400), &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE) << "c has no target";
    effect = DROPEFFECT_COPY;
    dispatch.DragOver(0, Over(400), &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);

    dispatch.DragOver(0, Over(200), &effect);
    EXPECT_EQ(b.received, &data) << "the kept data object goes to the next widget";
    EXPECT_EQ(effect, DROPEFFECT_MOVE);

    CountedData dropped;
    dispatch.Drop(&dropped, 0, Over(200), &effect);
    EXPECT_EQ(b.received, &dropped);
    EXPECT_EQ(data.references, 1u);
    EXPECT_EQ(dropped.references, 1u);

    dispatch.DragEnter(&data, 0, Over(200), &effect);
    EXPECT_THAT(log, ElementsAre("a:enter", "a:over", "a:leave", "b:enter", "b:drop", "b:enter"))
        << "after the drop no widget is the current target";
}

TEST_F(DropTargets, APointOutsideTheRootLeavesTheEffectAlone) {
    RecordingTarget a("a", log, DROPEFFECT_COPY);
    DUIDropTargetDispatch dispatch(root.get());
    dispatch.RegisterDragDrop(Handle(L"a"), &a);
    DWORD effect = DROPEFFECT_MOVE;

    // (50, 50) lies inside "a" in client coordinates, but left of the host on the screen.
    dispatch.DragOver(0, {50, 50}, &effect);

    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(DropTargets, LeavingTheHostReleasesOnlyTheDataObject) {
    RecordingTarget a("a", log, DROPEFFECT_COPY);
    CountedData data;
    DUIDropTargetDispatch dispatch(root.get());
    dispatch.RegisterDragDrop(Handle(L"a"), &a);
    DWORD effect = DROPEFFECT_COPY;

    dispatch.DragEnter(&data, 0, Over(0), &effect);
    dispatch.DragLeave();
    EXPECT_EQ(data.references, 1u);

    dispatch.DragEnter(&data, 0, Over(0), &effect);
    EXPECT_THAT(log, ElementsAre("a:enter", "a:over"))
        << "the widget stays the current target and is not told";
}

}  // namespace
