#include "drivers/headless/headless_driver.h"

#include <algorithm>
#include <cstring>

#include "plat/message_box.h"

namespace plat::headless {
namespace {

Picture BlankPicture(LONG width, LONG height) {
    Picture picture;
    picture.width = std::max<LONG>(width, 0);
    picture.height = std::max<LONG>(height, 0);
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
    return picture;
}

// A new size keeps the picture of the part both sizes share.
Picture Resized(const Picture& old, LONG width, LONG height) {
    Picture resized = BlankPicture(width, height);
    LONG rows = std::min(old.height, resized.height);
    LONG columns = std::min(old.width, resized.width);
    for (LONG y = 0; y < rows; ++y) {
        std::copy_n(old.pixels.begin() + y * old.width, columns,
                    resized.pixels.begin() + y * resized.width);
    }
    return resized;
}

}  // namespace

HeadlessDriver::HeadlessDriver() {
    SetMessageBoxPresenter(
        [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
            return RecordMessageBox(owner, text, caption, type);
        });
}

HeadlessDriver::SurfaceRecord* HeadlessDriver::Find(HWND window) {
    auto found = m_surfaces.find(window);
    return found == m_surfaces.end() ? nullptr : &found->second;
}

void HeadlessDriver::CreateSurface(HWND window, const SurfaceDescription& description) {
    std::lock_guard<std::mutex> guard(m_lock);
    const RECT& bounds = description.bounds;
    SurfaceState state{bounds, false, description.title, description.owner, 255, 0, {0, 0}, true};
    m_surfaces[window] = {state,
                          BlankPicture(bounds.right - bounds.left, bounds.bottom - bounds.top)};
}

void HeadlessDriver::DestroySurface(HWND window) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_surfaces.erase(window);
    if (m_grab == window) {
        m_grab = nullptr;
    }
}

void HeadlessDriver::ShowSurface(HWND window, SurfaceShow show, bool) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        surface->state.visible = show == SurfaceShow::Normal || show == SurfaceShow::Maximized;
    }
}

void HeadlessDriver::MoveSurface(HWND window, POINT topLeft) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        RECT& bounds = surface->state.bounds;
        bounds = {topLeft.x, topLeft.y, topLeft.x + bounds.right - bounds.left,
                  topLeft.y + bounds.bottom - bounds.top};
    }
}

void HeadlessDriver::ResizeSurface(HWND window, SIZE size) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        RECT& bounds = surface->state.bounds;
        bounds.right = bounds.left + size.cx;
        bounds.bottom = bounds.top + size.cy;
        surface->picture = Resized(surface->picture, size.cx, size.cy);
    }
}

void HeadlessDriver::SetSurfaceTitle(HWND window, const std::wstring& title) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        surface->state.title = title;
    }
}

void HeadlessDriver::SetSurfaceOwner(HWND window, HWND owner) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        surface->state.owner = owner;
    }
}

void HeadlessDriver::PresentSurface(HWND window, const RECT& area, const PixelBuffer& pixels,
                                    BYTE constantAlpha) {
    std::lock_guard<std::mutex> guard(m_lock);
    SurfaceRecord* surface = Find(window);
    if (!surface) {
        return;
    }
    surface->state.constantAlpha = constantAlpha;
    Picture& picture = surface->picture;
    LONG left = std::max<LONG>(area.left, 0);
    LONG top = std::max<LONG>(area.top, 0);
    LONG right = std::min(area.right, picture.width);
    LONG bottom = std::min(area.bottom, picture.height);
    for (LONG y = top; y < bottom && !pixels.Empty(); ++y) {
        const BYTE* source = pixels.Row(y - area.top) + (left - area.left) * 4;
        std::memcpy(&picture.pixels[y * picture.width + left], source, (right - left) * 4);
    }
}

void HeadlessDriver::SetCursorShape(HWND window, const CursorShape* shape) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        surface->state.cursorId = shape ? shape->systemId : 0;
    }
}

void HeadlessDriver::SetPointerGrab(HWND window) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_grab = window;
}

void HeadlessDriver::SetInputMethodPosition(HWND window, POINT point) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        surface->state.inputMethodPosition = point;
    }
}

void HeadlessDriver::EnableInputMethod(HWND window, bool enabled) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (SurfaceRecord* surface = Find(window)) {
        surface->state.inputMethodEnabled = enabled;
    }
}

std::vector<MonitorDescription> HeadlessDriver::Monitors() {
    return {{{0, 0, kScreenWidth, kScreenHeight},
             {0, 0, kScreenWidth, kScreenHeight - kTaskBarHeight}}};
}

void HeadlessDriver::SetClipboardText(const std::wstring& text) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_clipboard = text;
}

std::wstring HeadlessDriver::ClipboardText() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_clipboard;
}

std::optional<SurfaceState> HeadlessDriver::Surface(HWND window) {
    std::lock_guard<std::mutex> guard(m_lock);
    SurfaceRecord* surface = Find(window);
    return surface ? std::optional<SurfaceState>(surface->state) : std::nullopt;
}

std::optional<Picture> HeadlessDriver::PresentedPicture(HWND window) {
    std::lock_guard<std::mutex> guard(m_lock);
    SurfaceRecord* surface = Find(window);
    return surface ? std::optional<Picture>(surface->picture) : std::nullopt;
}

HWND HeadlessDriver::PointerGrab() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_grab;
}

std::vector<ShownMessageBox> HeadlessDriver::MessageBoxes() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_messageBoxes;
}

void HeadlessDriver::ClearMessageBoxes() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_messageBoxes.clear();
}

// The box is answered at once, as a user pressing OK would; the call returns only with that
// answer, so the caller stays modal.
int HeadlessDriver::RecordMessageBox(HWND owner, const std::wstring& text,
                                     const std::wstring& caption, UINT type) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_messageBoxes.push_back({owner, text, caption, type});
    return IDOK;
}

std::unique_ptr<Driver> MakeHeadlessDriver() {
    return std::make_unique<HeadlessDriver>();
}

HeadlessDriver* ActiveHeadlessDriver() {
    return dynamic_cast<HeadlessDriver*>(&CurrentDriver());
}

}  // namespace plat::headless
