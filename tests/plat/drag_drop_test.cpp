// Drop-target registration per window, with Windows' answers and reference counting.
#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include <cwchar>

#include "plat/drag_drop.h"
#include "plat/keyboard.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using DragDrop = WindowSystemTest;

class CountedTarget : public IDropTarget {
public:
    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references; }
    HRESULT DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT DragLeave() override { return S_OK; }
    HRESULT Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }

    ULONG references = 1;
};

TEST_F(DragDrop, ATargetIsReferencedWhileRegistered) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    CountedTarget target;

    ASSERT_EQ(RegisterDragDrop(window, &target), S_OK);
    EXPECT_EQ(target.references, 2u);
    EXPECT_EQ(RegisteredDropTarget(window), &target);

    ASSERT_EQ(RevokeDragDrop(window), S_OK);
    EXPECT_EQ(target.references, 1u);
    EXPECT_EQ(RegisteredDropTarget(window), nullptr);
    DestroyWindow(window);
}

TEST_F(DragDrop, RegistrationErrorsChangeNothing) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    HWND gone = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    DestroyWindow(gone);
    CountedTarget first;
    CountedTarget second;
    ASSERT_EQ(RegisterDragDrop(window, &first), S_OK);

    EXPECT_EQ(RegisterDragDrop(window, &second), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisterDragDrop(window, nullptr), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(gone, &second), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RevokeDragDrop(gone), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(second.references, 1u);
    EXPECT_EQ(RegisteredDropTarget(window), &first);

    ASSERT_EQ(RevokeDragDrop(window), S_OK);
    EXPECT_EQ(RevokeDragDrop(window), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(first.references, 1u);
    DestroyWindow(window);
}

// Records the calls a drag makes and answers `answer` within what the source allows.
class RecordingTarget : public IDropTarget {
public:
    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        calls.push_back(L"enter " + TextOf(data) + Where(keys, point));
        *effect &= answer;
        return S_OK;
    }
    HRESULT DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        calls.push_back(L"over" + Where(keys, point));
        *effect &= answer;
        return S_OK;
    }
    HRESULT DragLeave() override {
        calls.push_back(L"leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        calls.push_back(L"drop " + TextOf(data) + Where(keys, point));
        *effect &= answer;
        return S_OK;
    }

    static std::wstring Where(DWORD keys, POINTL point) {
        return L" " + std::to_wstring(keys) + L" " + std::to_wstring(point.x) + L"," +
               std::to_wstring(point.y);
    }
    static std::wstring TextOf(IDataObject* data) {
        FORMATETC format{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (data->GetData(&format, &medium) != S_OK) {
            return L"?";
        }
        std::wstring text(static_cast<const wchar_t*>(GlobalLock(medium.hGlobal)));
        GlobalUnlock(medium.hGlobal);
        ReleaseStgMedium(&medium);
        return text;
    }

    DWORD answer = DROPEFFECT_COPY;
    std::vector<std::wstring> calls;
};

TEST_F(DragDrop, ADragReachesTheNearestRegisteredWindowAndMovesOnBetweenTargets) {
    HWND left = CreateShownWindow({0, 0, 100, 100});
    HWND child = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, left);
    HWND right = CreateShownWindow({200, 0, 300, 100});
    RecordingTarget leftTarget;
    RecordingTarget rightTarget;
    rightTarget.answer = DROPEFFECT_NONE;
    ASSERT_EQ(RegisterDragDrop(left, &leftTarget), S_OK);
    ASSERT_EQ(RegisterDragDrop(right, &rightTarget), S_OK);

    EXPECT_EQ(headless::DragTextTo(L"text", 20, 20), DROPEFFECT_COPY);  // over the child
    headless::PressKey(VK_SHIFT);
    EXPECT_EQ(headless::DragTextTo(L"text", 30, 30), DROPEFFECT_COPY);
    headless::ReleaseKey(VK_SHIFT);
    EXPECT_EQ(headless::DragTextTo(L"text", 250, 50), DROPEFFECT_NONE);
    EXPECT_EQ(headless::DropText(L"text", 250, 50), DROPEFFECT_NONE);    // refused: a leave
    EXPECT_EQ(headless::DragTextTo(L"text", 150, 50), DROPEFFECT_NONE);  // the desktop
    EXPECT_EQ(headless::DropText(L"text", 40, 40, DROPEFFECT_MOVE), DROPEFFECT_NONE);
    EXPECT_EQ(headless::DropText(L"text", 40, 40), DROPEFFECT_COPY);
    headless::DragTextTo(L"text", 250, 50);
    headless::LeaveDrag(left);  // late news of leaving a surface the drag is no longer over
    EXPECT_EQ(rightTarget.calls.back(), L"enter text 1 250,50");
    headless::LeaveDrag(right);
    headless::DragTextTo(L"text", 20, 20);
    RevokeDragDrop(left);  // a target revoked during a drag is not called again
    EXPECT_EQ(headless::DragTextTo(L"text", 30, 30), DROPEFFECT_NONE);
    headless::LeaveDrag();

    EXPECT_THAT(leftTarget.calls,
                ::testing::ElementsAre(L"enter text 1 20,20", L"over 5 30,30", L"leave",
                                       L"enter text 0 40,40", L"leave", L"enter text 0 40,40",
                                       L"drop text 0 40,40", L"enter text 1 20,20"));
    EXPECT_THAT(rightTarget.calls, ::testing::ElementsAre(L"enter text 1 250,50", L"leave",
                                                          L"enter text 1 250,50", L"leave"));
    RevokeDragDrop(right);
    DestroyWindow(child);
    DestroyWindow(left);
    DestroyWindow(right);
}

TEST_F(DragDrop, TheDataObjectGivesOnlyUnicodeTextInGlobalMemory) {
    HWND window = CreateShownWindow({0, 0, 100, 100});
    struct Probe : RecordingTarget {
        HRESULT DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
            FORMATETC text{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            FORMATETC ansi{1, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            FORMATETC stream{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, 4};
            FORMATETC part{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, 0, TYMED_HGLOBAL};
            answers = {data->QueryGetData(&text), data->QueryGetData(&ansi),
                       data->QueryGetData(&stream), data->QueryGetData(&part)};
            STGMEDIUM medium{};
            answers.push_back(data->GetData(&ansi, &medium));
            answers.push_back(medium.tymed == TYMED_NULL && !medium.hGlobal ? S_OK : E_FAIL);
            EXPECT_EQ(data->GetData(&text, &medium), S_OK);
            size = GlobalSize(medium.hGlobal);
            ReleaseStgMedium(&medium);
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        std::vector<HRESULT> answers;
        std::size_t size = 0;
    } probe;
    ASSERT_EQ(RegisterDragDrop(window, &probe), S_OK);

    headless::DragTextTo(L"下载", 50, 50);
    headless::LeaveDrag();

    EXPECT_THAT(probe.answers, ::testing::ElementsAre(S_OK, DV_E_FORMATETC, DV_E_TYMED, DV_E_LINDEX,
                                                      DV_E_FORMATETC, S_OK));
    EXPECT_EQ(probe.size, 3 * sizeof(wchar_t));
    RevokeDragDrop(window);
    DestroyWindow(window);
}

}  // namespace
}  // namespace plat::test
