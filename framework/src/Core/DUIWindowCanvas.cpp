// Direct drawing outside the render pass, and the cache canvas of "bcache" widgets.
#include "DMApp.h"
#include "DMRectHelpers.h"
#include "DUIWindow.h"
#include "IDMDraw.h"

namespace DM {
namespace {

// What lies beneath the widget (or above it) drawn into `canvas` over `rect` by the host's
// draw object.
void DrawAround(IDMContainer* container, IDMCanvas* canvas, const RECT& rect, DUIWindow* widget,
                bool beneath) {
    IDMDraw* found = nullptr;
    IDMRender* render = nullptr;
    if (container->OnGetDraw(&found) != DM_ECODE_OK) {
        return;
    }
    auto draw = DMSmartPtrT<IDMDraw>::Adopt(found);
    if (DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) != DM_ECODE_OK) {
        return;
    }
    IDMRegion* made = nullptr;
    render->CreateRegion(&made);
    render->Release();
    auto region = DMSmartPtrT<IDMRegion>::Adopt(made);
    if (!region) {
        return;
    }
    region->CombineRect(rect, RGN_COPY);
    if (beneath) {
        draw->DrawBackground(canvas, region.get(), widget);
    } else {
        draw->DrawForeground(canvas, region.get(), widget);
    }
}

}  // namespace

void DUIDrawEnvironStack::Push(DUIWindow* widget, IDMCanvas* canvas) {
    std::vector<DUIWindow*> chain;
    for (DUIWindow* at = widget; at; at = at->GetWindow(GDW_PARENT)) {
        chain.push_back(at);
    }
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        m_environs.emplace_back(*at, DUIDrawEnviron{});
        (*at)->PushDrawEnviron(canvas, m_environs.back().second);
    }
}

void DUIDrawEnvironStack::Pop(IDMCanvas* canvas) {
    for (auto at = m_environs.rbegin(); at != m_environs.rend(); ++at) {
        at->first->PopDrawEnviron(canvas, at->second);
    }
    m_environs.clear();
}

IDMCanvas* DUIWindow::GetCanvas(const RECT* rect, DWORD flags, bool clientOnly) {
    if (m_nGetCanvasFlags != -1 || !m_pContainer) {
        return nullptr;
    }
    RECT paint = m_rcWindow;
    if (clientOnly) {
        GetClientRect(paint);
    }
    if (flags != 1) {
        for (DUIWindow* ancestor = m_pParent; ancestor; ancestor = ancestor->m_pParent) {
            RECT client{};
            ancestor->GetClientRect(client);
            paint = IntersectRects(paint, client);
        }
    }
    if (rect) {
        RECT cut = IntersectRects(paint, *rect);
        m_bClipCanvas = !EqualRects(cut, paint);
        paint = cut;
    } else {
        m_bClipCanvas = false;
    }
    IDMCanvas* canvas = nullptr;
    m_bCanvasFromContainer = m_pContainer->OnGetCanvas(paint, flags, &canvas) == DM_ECODE_OK;
    if (!m_bCanvasFromContainer) {
        canvas = NewCanvas(0, 0).Detach();
        if (!canvas) {
            return nullptr;
        }
    }
    if (m_bClipCanvas) {
        canvas->PushClip(paint, RGN_AND);
    }
    if (flags & DMCANVAS_DRAWAROUND) {
        DrawAround(m_pContainer, canvas, paint, this, true);
    }
    m_canvasEnvirons.Push(this, canvas);
    m_rcGetCanvas = paint;
    m_nGetCanvasFlags = static_cast<int>(flags);
    return canvas;
}

void DUIWindow::ReleaseCanvas(IDMCanvas* canvas) {
    if (!canvas || m_nGetCanvasFlags == -1) {
        return;
    }
    m_canvasEnvirons.Pop(canvas);
    auto flags = static_cast<DWORD>(m_nGetCanvasFlags);
    if ((flags & DMCANVAS_DRAWAROUND) && m_pContainer) {
        DrawAround(m_pContainer, canvas, m_rcGetCanvas, this, false);
    }
    if (m_bClipCanvas) {
        canvas->PopClip();
    }
    if (m_bCanvasFromContainer && m_pContainer) {
        m_pContainer->OnReleaseCanvas(m_rcGetCanvas, flags, canvas);
    } else {
        canvas->Release();
    }
    if (m_pCacheCanvas) {
        m_bDirty = true;
    }
    m_nGetCanvasFlags = -1;
}

bool DUIWindow::IsCacheDirty() {
    SIZE size{m_rcWindow.right - m_rcWindow.left, m_rcWindow.bottom - m_rcWindow.top};
    if (m_pXmlInfo->m_bAlwaysRefreshCache) {
        return true;
    }
    if (size.cx == m_szCache.cx && size.cy == m_szCache.cy) {
        return false;
    }
    m_szCache = size;
    return true;
}

void DUIWindow::UpdateCacheCanvas() {
    if (!m_pCacheCanvas) {
        IsCacheDirty();
        m_pCacheCanvas = NewCanvas(std::max(0, m_szCache.cx), std::max(0, m_szCache.cy));
        if (m_pCacheCanvas) {
            m_pCacheCanvas->SelectObject(DMApp::GetObjPtr()->GetFont(L""), nullptr);
        }
    } else if (IsCacheDirty()) {
        m_pCacheCanvas->Resize(std::max(0, m_szCache.cx), std::max(0, m_szCache.cy));
    }
    m_bDirty = true;
}

LRESULT DUIWindow::OnSize(WPARAM, LPARAM) {
    if (m_pXmlInfo->m_bCache) {
        UpdateCacheCanvas();
    }
    return 0;
}

}  // namespace DM
