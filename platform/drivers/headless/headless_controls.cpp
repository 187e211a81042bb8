// The test controls of the headless driver.
#include "drivers/headless/headless_driver.h"
#include "drivers/headless/png_file.h"
#include "kernel/virtual_clock.h"
#include "plat/folder_picker.h"
#include "plat/headless.h"
#include "plat/input.h"
#include "user/thread_queues.h"

namespace plat::headless {
namespace {

using Kind = InputEvent::Kind;

POINT PointerPosition() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

void DeliverPointer(Kind kind, MouseButton button, int wheelDelta = 0) {
    DeliverInput({kind, PointerPosition(), button, wheelDelta, 0, 0});
}

void DeliverKey(Kind kind, UINT virtualKey, wchar_t character = 0) {
    DeliverInput({kind, PointerPosition(), MouseButton::Left, 0, virtualKey, character});
}

// Whether a composition injected by Compose is going on.
bool compositionGoingOn = false;

void DeliverComposition(Kind kind, const std::wstring& text = {}, LONG cursor = 0) {
    DeliverInput({kind, PointerPosition(), MouseButton::Left, 0, 0, 0, text, cursor});
}

void WakeEveryQueue() {
    user::Guard lock(user::WindowSystemLock());
    user::WakeAllQueues();
}

}  // namespace

BOOL Use() {
    return SelectDriver("headless");
}

void MoveMouse(LONG x, LONG y) {
    DeliverInput({Kind::MouseMove, {x, y}, MouseButton::Left, 0, 0, 0});
}

void PressButton(MouseButton button) {
    DeliverPointer(Kind::ButtonDown, button);
}

void ReleaseButton(MouseButton button) {
    DeliverPointer(Kind::ButtonUp, button);
}

void Click(LONG x, LONG y, MouseButton button) {
    MoveMouse(x, y);
    PressButton(button);
    ReleaseButton(button);
}

void DoubleClick(LONG x, LONG y, MouseButton button) {
    Click(x, y, button);
    DeliverPointer(Kind::ButtonDoubleClick, button);
    ReleaseButton(button);
}

void TurnWheel(int delta) {
    DeliverPointer(Kind::Wheel, MouseButton::Left, delta);
}

void PressKey(UINT virtualKey) {
    DeliverKey(Kind::KeyDown, virtualKey);
}

void ReleaseKey(UINT virtualKey) {
    DeliverKey(Kind::KeyUp, virtualKey);
}

void TapKey(UINT virtualKey) {
    PressKey(virtualKey);
    ReleaseKey(virtualKey);
}

void TypeText(const std::wstring& text) {
    for (wchar_t character : text) {
        DeliverKey(Kind::Character, 0, character);
    }
}

void Compose(const std::wstring& text, LONG cursor) {
    if (!compositionGoingOn) {
        compositionGoingOn = true;
        DeliverComposition(Kind::CompositionStart);
    }
    DeliverComposition(Kind::Composition, text, cursor);
}

void CommitComposition(const std::wstring& text) {
    if (!compositionGoingOn) {
        DeliverComposition(Kind::CompositionStart);
    }
    compositionGoingOn = false;
    DeliverComposition(Kind::CompositionCommit, text);
    DeliverComposition(Kind::CompositionEnd);
}

void CancelComposition() {
    if (compositionGoingOn) {
        compositionGoingOn = false;
        DeliverComposition(Kind::Composition);
        DeliverComposition(Kind::CompositionEnd);
    }
}

DWORD DragTextTo(const std::wstring& text, LONG x, LONG y, DWORD allowed) {
    return DeliverDrag({DragEvent::Kind::Move, {x, y}, text, allowed});
}

DWORD DropText(const std::wstring& text, LONG x, LONG y, DWORD allowed) {
    return DeliverDrag({DragEvent::Kind::Drop, {x, y}, text, allowed});
}

void LeaveDrag(HWND surface) {
    DeliverDrag({DragEvent::Kind::Leave, {0, 0}, {}, DROPEFFECT_NONE, surface});
}

void StartVirtualClock(DWORD startTicks) {
    kernel::StartVirtualClock(startTicks);
    WakeEveryQueue();
}

void AdvanceClock(DWORD milliseconds) {
    kernel::AdvanceVirtualClock(milliseconds);
    WakeEveryQueue();
}

void StopVirtualClock() {
    kernel::StopVirtualClock();
    WakeEveryQueue();
}

std::optional<SurfaceState> Surface(HWND window) {
    HeadlessDriver* driver = ActiveHeadlessDriver();
    return driver ? driver->Surface(window) : std::nullopt;
}

std::optional<Picture> PresentedPicture(HWND window) {
    HeadlessDriver* driver = ActiveHeadlessDriver();
    return driver ? driver->PresentedPicture(window) : std::nullopt;
}

BOOL SavePresentedPicture(HWND window, const std::filesystem::path& path) {
    std::optional<Picture> picture = PresentedPicture(window);
    std::optional<SurfaceState> surface = Surface(window);
    return picture && surface && WritePng(path, *picture, surface->constantAlpha) ? TRUE : FALSE;
}

HWND PointerGrab() {
    HeadlessDriver* driver = ActiveHeadlessDriver();
    return driver ? driver->PointerGrab() : nullptr;
}

std::vector<ShownMessageBox> MessageBoxes() {
    HeadlessDriver* driver = ActiveHeadlessDriver();
    return driver ? driver->MessageBoxes() : std::vector<ShownMessageBox>{};
}

void ClearMessageBoxes() {
    if (HeadlessDriver* driver = ActiveHeadlessDriver()) {
        driver->ClearMessageBoxes();
    }
}

void AnswerFolderPicker(std::optional<std::filesystem::path> folder) {
    SetFolderPickerPresenter([folder](HWND, const std::wstring&) { return folder; });
}

std::vector<WebViewState*> WebViews() {
    HeadlessDriver* driver = ActiveHeadlessDriver();
    return driver ? driver->WebViews() : std::vector<WebViewState*>{};
}

}  // namespace plat::headless
