#include <vector>

#include "DMApp.h"
#include "DMDummyWnd.h"
#include "DMHWnd.h"
#include "DMRectHelpers.h"
#include "plat/layered.h"
#include "plat/messages.h"

namespace DM {
namespace {

// The canvas's pixels as the platform reads them.
plat::PixelBuffer PixelsOf(IDMCanvas* canvas) {
    SIZE size{};
    canvas->GetSize(size);
    int bytes = 0;
    auto* bits = reinterpret_cast<const BYTE*>(canvas->GetPixelBits(&bytes));
    return {bits, size.cx, size.cy, size.cx * 4};
}

}  // namespace

IDMCanvas* DMHWnd::DrawCanvas() {
    IDMCanvas* canvas = nullptr;
    if (!m_pDraw || m_pDraw->GetCanvas(&canvas) != DM_ECODE_OK) {
        return nullptr;
    }
    canvas->Release();  // the draw object keeps its own reference
    return canvas;
}

HWND DMHWnd::RepaintTarget() const {
    return m_pHostXmlInfo->m_bTranslucent && m_pDummyWnd ? m_pDummyWnd->m_hWnd : m_hWnd;
}

// The dummy window is 10 × 10: its whole area stands for any part of the host.
void DMHWnd::RequestRepaint(const RECT* rect) {
    HWND target = RepaintTarget();
    plat::InvalidateRect(target, target == m_hWnd ? rect : nullptr, plat::FALSE);
}

void DMHWnd::RepaintAll() {
    if (m_pDraw) {
        m_pDraw->InvalidateRect(nullptr, RGN_COPY);
    }
    if (IsWindow()) {
        RequestRepaint(nullptr);
    }
}

DMCode DMHWnd::OnInvalidateRect(const RECT& rect, DUIWND) {
    if (!m_pDraw) {
        return DM_ECODE_FAIL;
    }
    m_pDraw->InvalidateRect(&rect, RGN_OR);
    RequestRepaint(&rect);
    return DM_ECODE_OK;
}

DMCode DMHWnd::OnUpdateWindow() {
    return plat::UpdateWindow(RepaintTarget()) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMHWnd::OnRedraw() {
    plat::HDC context = plat::GetDC(m_hWnd);
    RenderInvalid(context);
    plat::ReleaseDC(m_hWnd, context);
    return DM_ECODE_OK;
}

// Renders what widgets invalidated and puts each rectangle on the screen.
void DMHWnd::RenderInvalid(plat::HDC context) {
    if (!m_pDraw) {
        return;
    }
    std::vector<RECT> rects;
    m_pDraw->GetInvalidateRects(rects);
    m_pDraw->Render(this);
    for (const RECT& rect : rects) {
        UpdateToScreen(context, rect, true);
    }
}

LRESULT DMHWnd::OnHostPaint(UINT, WPARAM, LPARAM) {
    plat::PAINTSTRUCT paint{};
    plat::HDC context = plat::BeginPaint(m_hWnd, &paint);
    if (m_pHostXmlInfo->m_bTranslucent) {
        // The layered picture is presented through the dummy window's repaint.
        RequestRepaint(nullptr);
    } else if (!m_pDraw || m_pDraw->IsNeedRender()) {
        RenderInvalid(context);
    } else {
        UpdateToScreen(context, paint.rcPaint, true);
    }
    plat::EndPaint(m_hWnd, &paint);
    return 0;
}

void DMHWnd::PaintTranslucent() {
    if (m_pDraw && m_pDraw->IsNeedRender()) {
        RenderInvalid(nullptr);
    }
}

// The whole picture goes into the given context, a translucent host's too: printing does not
// present anything.
LRESULT DMHWnd::OnHostPrint(UINT, WPARAM wParam, LPARAM) {
    auto context = reinterpret_cast<plat::HDC>(wParam);
    if (!m_pDraw || !context) {
        return 0;
    }
    m_pDraw->InvalidateRect(nullptr, RGN_COPY);
    m_pDraw->Render(this);
    RECT client{};
    DMCWndBase::GetClientRect(&client);
    if (IDMCanvas* picture = PictureToShow(client); picture && !IsEmptyRect(client)) {
        plat::CopyPixelsToWindow(context, {client.left, client.top}, PixelsOf(picture), client);
    }
    return 0;
}

LRESULT DMHWnd::OnHostSize(UINT, WPARAM wParam, LPARAM lParam) {
    int width = plat::LOWORD(static_cast<std::uintptr_t>(lParam));
    int height = plat::HIWORD(static_cast<std::uintptr_t>(lParam));
    if (wParam == plat::SIZE_MINIMIZED || width == 0 || height == 0) {
        SetMsgHandled(false);
        return 0;
    }
    if (m_pDraw) {
        m_pDraw->ResizeCanvas(width, height);
    }
    SetWndRect({0, 0, width, height});
    RepaintAll();
    SetMsgHandled(false);
    return 0;
}

// With colour adjustment on, a copy of the canvas is adjusted and shown instead.
IDMCanvas* DMHWnd::PictureToShow(const RECT& rect) {
    IDMCanvas* canvas = DrawCanvas();
    const DMHWnd_XmlInfo& info = *m_pHostXmlInfo;
    if (!canvas || (info.m_nH == 0 && info.m_nS == 100 && info.m_nL == 100)) {
        return canvas;
    }
    SIZE size{};
    canvas->GetSize(size);
    SIZE adjustSize{};
    bool sameSize = m_pAdjustCanvas && m_pAdjustCanvas->GetSize(adjustSize) == DM_ECODE_OK &&
                    adjustSize.cx == size.cx && adjustSize.cy == size.cy;
    if (!m_pAdjustCanvas) {
        m_pAdjustCanvas = NewCanvas(size.cx, size.cy);
    } else if (!sameSize) {
        m_pAdjustCanvas->Resize(size.cx, size.cy);
    }
    if (!m_pAdjustCanvas) {
        return canvas;
    }
    RECT copied = sameSize ? rect : RECT{0, 0, size.cx, size.cy};
    m_pAdjustCanvas->BitBlt(canvas, copied.left, copied.top, copied, SRCCOPY);
    m_pAdjustCanvas->AdjustHSL(info.m_nH, info.m_nS, info.m_nL, &copied);
    return m_pAdjustCanvas.get();
}

void DMHWnd::UpdateToScreen(plat::HDC context, const RECT& rect, bool useRect) {
    RECT client{};
    DMCWndBase::GetClientRect(&client);
    RECT area = IntersectRects(rect, client);
    IDMCanvas* picture = PictureToShow(area);
    if (!picture) {
        return;
    }
    if (m_pHostXmlInfo->m_bTranslucent) {
        PresentLayered(area, picture, m_pHostXmlInfo->m_byAlpha);
        return;
    }
    RECT copied = useRect ? area : client;
    if (context && !IsEmptyRect(copied)) {
        plat::CopyPixelsToWindow(context, {copied.left, copied.top}, PixelsOf(picture), copied);
    }
}

// The platform has no indirect layered update; the plain one takes the dirty rectangle too.
void DMHWnd::PresentLayered(const RECT& rect, IDMCanvas* picture, BYTE alpha) {
    RECT window{};
    GetWindowRect(&window);
    POINT position{window.left, window.top};
    SIZE size{window.right - window.left, window.bottom - window.top};
    POINT origin{0, 0};
    plat::BLENDFUNCTION blend{plat::AC_SRC_OVER, 0, alpha, plat::AC_SRC_ALPHA};
    const RECT* dirty = IsEmptyRect(rect) ? nullptr : &rect;
    plat::UpdateLayeredWindow(m_hWnd, &position, &size, PixelsOf(picture), &origin, &blend,
                              plat::ULW_ALPHA, dirty);
}

DMCode DMHWnd::OnGetCanvas(const RECT& rect, DWORD flags, IDMCanvas** canvas) {
    if (!canvas || IsEmptyRect(rect)) {
        return DM_ECODE_FAIL;
    }
    IDMCanvas* created = NewCanvas(rect.right - rect.left, rect.bottom - rect.top).Detach();
    if (!created) {
        return DM_ECODE_FAIL;
    }
    created->SetViewportOrg(-rect.left, -rect.top, nullptr);
    created->SelectObject(DMApp::GetObjPtr()->GetFont(L""), nullptr);
    created->SetTextColor(DMColor(0, 0, 0, 0xFF), nullptr);
    if (!(flags & DMCANVAS_NOCOPY)) {
        if (IDMCanvas* source = DrawCanvas()) {
            created->BitBlt(source, rect.left, rect.top, rect, SRCCOPY);
        }
    }
    *canvas = created;
    return DM_ECODE_OK;
}

DMCode DMHWnd::OnReleaseCanvas(const RECT& rect, DWORD flags, IDMCanvas* canvas) {
    if (!canvas) {
        return DM_ECODE_FAIL;
    }
    if (!(flags & DMCANVAS_NOCOPY)) {
        if (IDMCanvas* target = DrawCanvas()) {
            target->BitBlt(canvas, rect.left, rect.top, rect, SRCCOPY);
            plat::HDC context = plat::GetDC(m_hWnd);
            UpdateToScreen(context, rect, true);
            plat::ReleaseDC(m_hWnd, context);
        }
    }
    canvas->Release();
    return DM_ECODE_OK;
}

}  // namespace DM
