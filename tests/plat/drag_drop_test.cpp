// Drop-target registration per window, with Windows' answers and reference counting.
#include <gtest/gtest.h>

#include "plat/drag_drop.h"
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

}  // namespace
}  // namespace plat::test
