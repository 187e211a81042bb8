#include <chrono>
#include <thread>

#include "DMApp.h"
#include "DMHWnd.h"
#include "plat/layered.h"
#include "plat/show_commands.h"

namespace DM {
namespace {

constexpr DWORD kHorPositive = 0x1;
constexpr DWORD kHorNegative = 0x2;
constexpr DWORD kVerPositive = 0x4;
constexpr DWORD kVerNegative = 0x8;
constexpr DWORD kCenter = 0x10;
constexpr DWORD kHide = 0x10000;
constexpr DWORD kSlide = 0x40000;
constexpr DWORD kBlend = 0x80000;
constexpr int kStepMs = 10;

// The part of the window that shows the picture at `progress` (0 to 1): a slide uncovers it
// from the sides the flags name, a centred animation grows it from the middle.
RECT VisiblePart(DWORD flags, SIZE size, double progress) {
    RECT part{0, 0, size.cx, size.cy};
    auto shown = [progress](LONG length) { return static_cast<LONG>(length * progress); };
    if (flags & kCenter) {
        LONG dx = (size.cx - shown(size.cx)) / 2;
        LONG dy = (size.cy - shown(size.cy)) / 2;
        return {dx, dy, size.cx - dx, size.cy - dy};
    }
    if (!(flags & kSlide)) {
        return part;
    }
    if (flags & kHorPositive) {
        part.right = shown(size.cx);
    } else if (flags & kHorNegative) {
        part.left = size.cx - shown(size.cx);
    }
    if (flags & kVerPositive) {
        part.bottom = shown(size.cy);
    } else if (flags & kVerNegative) {
        part.top = size.cy - shown(size.cy);
    }
    return part;
}

}  // namespace

DMCode DMHWnd::DM_AnimateWindow(DWORD time, DWORD flags) {
    if (!IsWindow()) {
        return DM_ECODE_FAIL;
    }
    if (!m_pHostXmlInfo->m_bTranslucent) {
        ShowWindow((flags & kHide) ? plat::SW_HIDE : plat::SW_SHOWNOACTIVATE);
        return DM_ECODE_OK;
    }
    if (time / kStepMs < 2) {
        return DM_ECODE_FAIL;
    }
    AnimateTranslucent(time, flags);
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
    bool hide = flags & kHide;
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
            frame->BitBlt(picture, part.left, part.top, part, SRCCOPY);
        }
        auto alpha = static_cast<BYTE>((flags & kBlend) ? m_pHostXmlInfo->m_byAlpha * progress
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
