// The headless driver: surfaces kept in memory on a virtual screen, no display needed. Nothing
// arrives natively: tests inject input, which goes straight to the window system.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "plat/driver.h"
#include "plat/headless.h"

namespace plat::headless {

class HeadlessDriver final : public Driver {
public:
    HeadlessDriver();

    const char* Name() const override { return "headless"; }
    void CreateSurface(HWND window, const SurfaceDescription& description) override;
    void DestroySurface(HWND window) override;
    void ShowSurface(HWND window, SurfaceShow show, bool activate) override;
    void MoveSurface(HWND window, POINT topLeft) override;
    void ResizeSurface(HWND window, SIZE size) override;
    void SetSurfaceTitle(HWND window, const std::wstring& title) override;
    void SetSurfaceOwner(HWND window, HWND owner) override;
    void PresentSurface(HWND window, const RECT& area, const PixelBuffer& pixels,
                        BYTE constantAlpha) override;
    void SetCursorShape(HWND window, const CursorShape* shape) override;
    void SetPointerGrab(HWND window) override;
    void SetInputMethodPosition(HWND window, POINT point) override;
    void EnableInputMethod(HWND window, bool enabled) override;
    std::vector<MonitorDescription> Monitors() override;
    std::unique_ptr<WebView> CreateWebView(HWND host, WebViewClient& client) override;
    void SetClipboardText(const std::wstring& text) override;
    std::wstring ClipboardText() override;
    DWORD NativeEventThread() const override { return 0; }
    void RunNativeEvents(int) override {}
    void Wake() override {}

    std::optional<SurfaceState> Surface(HWND window);
    std::optional<Picture> PresentedPicture(HWND window);
    HWND PointerGrab();
    std::vector<ShownMessageBox> MessageBoxes();
    void ClearMessageBoxes();
    std::vector<WebViewState*> WebViews() { return m_webViews; }
    void ForgetWebView(WebViewState* view);

private:
    struct SurfaceRecord {
        SurfaceState state;
        Picture picture;
    };

    SurfaceRecord* Find(HWND window);
    int RecordMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                         UINT type);

    std::mutex m_lock;
    std::map<HWND, SurfaceRecord> m_surfaces;
    HWND m_grab = nullptr;
    std::wstring m_clipboard;
    std::vector<ShownMessageBox> m_messageBoxes;
    std::vector<WebViewState*> m_webViews;  // owned by the views
};

std::unique_ptr<Driver> MakeHeadlessDriver();
// The headless driver when it is the one in use, else null.
HeadlessDriver* ActiveHeadlessDriver();

}  // namespace plat::headless
