#include "window_test_support.h"

#include <algorithm>

namespace plat::test {
namespace {

Reaction reaction;
std::vector<HWND> created;

LRESULT RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Log().push_back({window, message, wParam, lParam});
    if (reaction) {
        if (std::optional<LRESULT> answer = reaction(window, message, wParam, lParam)) {
            return *answer;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* RecordingClass(UINT classStyle) {
    static std::vector<std::wstring> names;
    std::wstring name = L"Recording" + std::to_wstring(classStyle);
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = classStyle;
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW));
        windowClass.lpszClassName = name.c_str();
        EXPECT_NE(RegisterClassExW(&windowClass), 0);
        names.push_back(name);
    }
    return std::find(names.begin(), names.end(), name)->c_str();
}

}  // namespace

std::vector<Delivered>& Log() {
    static std::vector<Delivered> log;
    return log;
}

std::vector<UINT> MessagesOf(HWND window, const std::vector<UINT>& only) {
    std::vector<UINT> messages;
    for (const Delivered& delivered : Log()) {
        bool wanted =
            only.empty() || std::find(only.begin(), only.end(), delivered.message) != only.end();
        if (delivered.window == window && wanted) {
            messages.push_back(delivered.message);
        }
    }
    return messages;
}

std::vector<Delivered> Received(HWND window, UINT message) {
    std::vector<Delivered> received;
    for (const Delivered& delivered : Log()) {
        if (delivered.window == window && delivered.message == message) {
            received.push_back(delivered);
        }
    }
    return received;
}

void React(Reaction newReaction) {
    reaction = std::move(newReaction);
}

HWND CreateRecordingWindow(DWORD style, RECT rect, HWND parent, DWORD exStyle, UINT classStyle,
                           const wchar_t* title) {
    HWND window = CreateWindowExW(exStyle, RecordingClass(classStyle), title, style, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                  nullptr, nullptr, nullptr);
    created.push_back(window);
    return window;
}

HWND CreateShownWindow(RECT rect, HWND owner, DWORD exStyle) {
    return CreateRecordingWindow(WS_POPUP | WS_VISIBLE, rect, owner, exStyle);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WindowSystemTest::SetUp() {
    ASSERT_TRUE(headless::Use());
    headless::StartVirtualClock();
    Log().clear();
    React(nullptr);
}

// Tests that run in one process start from an empty screen.
void WindowSystemTest::TearDown() {
    React(nullptr);
    for (HWND window : created) {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
    created.clear();
    Pump();
}

}  // namespace plat::test
