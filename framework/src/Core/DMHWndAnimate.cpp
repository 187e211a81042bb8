#include <chrono>
#include <thread>

#include "Common/ActiveX/IDUIRealWnd.h"
#include "DMApp.h"
#include "DMHWnd.h"
#include "plat/layered.h"
#include "plat/show_commands.h"
#include "plat/window.h"

namespace DM {
namespace {

constexpr int kStepMs = 10;

// The part of the window that shows the picture at `progress` (0 to 1): a slide covers it
// from the sides the flags name, a centred animation grows it from the middle.
RECT VisiblePart(DWORD flags, SIZE size, double progress) {
    RECT part{0, 0, size.cx, size.cy};
    auto shown = [progress](LONG length) { return static_cast<LONG>(length * progress); };
    if (flags & plat::AW_CENTER) {
        LONG dx = (size.cx - shown(size.cx)) / 2;
        LONG dy = (size.cy - shown(size.cy)) / 2;
        return {dx, dy, size.cx - dx, size.cy - dy};
    }
    if (!(flags & plat::AW_SLIDE)) {
        return part;
    }
    if (flags & plat::AW_HOR_POSITIVE) {
        part.right = shown(size.cx);
    } else if (flags & plat::AW_HOR_NEGATIVE) {
        part.left = size.cx - shown(size.cx);
    }
    if (flags & plat::AW_VER_POSITIVE) {
        part.bottom = shown(size.cy);
    } else if (flags & plat::AW_VER_NEGATIVE) {
        part.top = size.cy - shown(size.cy);
    }
    return part;
}

// Where the picture shown in `part` starts: a sliding picture moves in with its far edge
// first; otherwise the picture stays in place.
POINT PictureOrigin(DWORD flags, SIZE size, const RECT& part) {
    POINT origin{part.left, part.top};
    if ((flags & plat::AW_SLIDE) && !(flags & plat::AW_CENTER)) {
        if (flags & plat::AW_HOR_POSITIVE) {
            origin.x = size.cx - part.right;
        } else if (flags & plat::AW_HOR_NEGATIVE) {
            origin.x = 0;
        }
        if (flags & plat::AW_VER_POSITIVE) {
            origin.y = size.cy - part.bottom;
        } else if (flags & plat::AW_VER_NEGATIVE) {
            origin.y = 0;
        }
    }
    return origin;
}

}  // namespace

DMCode DMHWnd::DM_AnimateWindow(DWORD time, DWORD flags) {
    if (!IsWindow()) {
        return DM_ECODE_FAIL;
    }
    if (!m_pHostXmlInfo->m_bTranslucent) {
        return AnimateOpaque(time, flags);
    }
    if (time / kStepMs < 2) {
        return DM_ECODE_FAIL;
    }
    AnimateTranslucent(time, flags);
    return DM_ECODE_OK;
}

// The platform animates the window; the native windows of the real-window widgets, windows of
// their own, are hidden before it hides the host and follow their widgets once it shows it. A
// host already in the asked state is refused before anything changes.
DMCode DMHWnd::AnimateOpaque(DWORD time, DWORD flags) {
    bool hide = flags & plat::AW_HIDE;
    if (hide != (plat::IsWindowVisible(m_hWnd) != plat::FALSE)) {
        return DM_ECODE_FAIL;
    }
    if (hide) {
        ForEachRealWnd([](IDUIRealWnd& widget) { widget.HideRealWnd(); });
    }
    plat::AnimateWindow(m_hWnd, time, flags);
    if (!hide) {
        ForEachRealWnd([](IDUIRealWnd& widget) { widget.FollowVisibility(); });
    }
    return DM_ECODE_OK;
}

// Each step composes the visible part of the picture on a transparent frame and presents it.
// The picture is brought up to date first: a window animated in before its first paint has
// nothing rendered yet.
void DMHWnd::AnimateTranslucent(DWORD time, DWORD flags) {
    IDMCanvas* canvas = DrawCanvas();
    if (!canvas) {
        return;
    }
    if (m_pDraw->IsNeedRender()) {
        m_pDraw->Render(this);
    }
    SIZE size{};
    canvas->GetSize(size);
    IDMCanvas* picture = PictureToShow({0, 0, size.cx, size.cy});
    DMSmartPtrT<IDMCanvas> frame = NewCanvas(size.cx, size.cy);
    if (!frame) {
        return;
    }
    bool hide = flags & plat::AW_HIDE;
    if (!hide) {
        ShowWindow(plat::SW_SHOWNOACTIVATE);
    }
    DWORD steps = time / kStepMs;
    RECT whole{0, 0, size.cx, size.cy};
    for (DWORD step = 1; step <= steps; ++step) {
        double progress = static_cast<double>(step) / steps;
        if (hide) {
            progress = 1.0 - progress;
        }
        frame->ClearRect(whole, DMColor(0, 0, 0, 0));
        RECT part = VisiblePart(flags, size, progress);
        if (part.right > part.left && part.bottom > part.top) {
            POINT origin = PictureOrigin(flags, size, part);
            frame->BitBlt(picture, origin.x, origin.y, part, SRCCOPY);
        }
        auto alpha =
            static_cast<BYTE>((flags & plat::AW_BLEND) ? m_pHostXmlInfo->m_byAlpha * progress
                                                       : m_pHostXmlInfo->m_byAlpha);
        PresentLayered(whole, frame.get(), alpha);
        std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
    }
    if (hide) {
        ShowWindow(plat::SW_HIDE);
    } else {
        PresentLayered(whole, picture, m_pHostXmlInfo->m_byAlpha);
    }
}

}  // namespace DM
