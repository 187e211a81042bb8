#include "DMDrawImpl.h"

#include <algorithm>

#include "DMApp.h"
#include "DMRectHelpers.h"
#include "DUIWindow.h"
#include "plat/messages.h"

namespace DM {
namespace {

constexpr int kNearWholeSlack = 100;
constexpr int kMostFragments = 9;

bool ContainsRect(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Meets(IDMRegion* region, const RECT& rect) {
    return !IsEmptyRect(rect) && region->RectInRegion(rect);
}

std::vector<RECT> RectsOf(IDMRegion* region) {
    int count = 0;
    region->GetRectCount(count);
    std::vector<RECT> rects(static_cast<std::size_t>(count));
    region->GetRects(rects.data(), count);
    return rects;
}

}  // namespace

DMDrawImpl::DMDrawImpl() {
    IDMRender* render = nullptr;
    if (DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) == DM_ECODE_OK) {
        m_pRender.Attach(render);
        IDMCanvas* canvas = nullptr;
        m_pRender->CreateCanvas(0, 0, &canvas);
        m_pCanvas.Attach(canvas);
    }
}

DMSmartPtrT<IDMRegion> DMDrawImpl::NewRegion(const RECT* rect) {
    IDMRegion* region = nullptr;
    m_pRender->CreateRegion(&region);
    auto owned = DMSmartPtrT<IDMRegion>::Adopt(region);
    if (owned && rect) {
        owned->CombineRect(*rect, RGN_COPY);
    }
    return owned;
}

DMCode DMDrawImpl::ResizeCanvas(int width, int height) {
    if (!m_pCanvas) {
        return DM_ECODE_FAIL;
    }
    m_rcCanvas = {0, 0, width, height};
    return m_pCanvas->Resize(width, height);
}

DMCode DMDrawImpl::GetCanvas(IDMCanvas** canvas) {
    if (!canvas || !m_pCanvas) {
        return DM_ECODE_FAIL;
    }
    m_pCanvas->AddRef();
    *canvas = m_pCanvas.get();
    return DM_ECODE_OK;
}

// A single rectangle stays single while one rectangle holds the other.
DMCode DMDrawImpl::InvalidateRect(const RECT* rect, int mode) {
    if (!m_pInvalidRegion) {
        m_pInvalidRegion = NewRegion(nullptr);
    }
    RECT area = rect ? IntersectRects(*rect, m_rcCanvas) : m_rcCanvas;
    if (rect && IsEmptyRect(area)) {
        return DM_ECODE_FAIL;
    }
    if (!rect || mode == RGN_COPY || mode == RGN_AND || !m_bNeedRender) {
        m_bOnlyOneRect = true;
        m_rcOnlyOne = area;
    } else if (m_bOnlyOneRect && ContainsRect(area, m_rcOnlyOne)) {
        m_rcOnlyOne = area;
    } else if (!(m_bOnlyOneRect && ContainsRect(m_rcOnlyOne, area))) {
        m_bOnlyOneRect = false;
    }
    m_pInvalidRegion->CombineRect(area, rect ? mode : RGN_COPY);
    m_bNeedRender = true;
    return DM_ECODE_OK;
}

int DMDrawImpl::GetInvalidateRects(std::vector<RECT>& rects) {
    rects.clear();
    if (!m_bNeedRender) {
        return 0;
    }
    if (m_bOnlyOneRect) {
        if (!IsEmptyRect(m_rcOnlyOne)) {
            rects.push_back(m_rcOnlyOne);
        }
        return static_cast<int>(rects.size());
    }
    RECT box{};
    m_pInvalidRegion->GetRgnBox(box);
    std::vector<RECT> fragments = RectsOf(m_pInvalidRegion.get());
    if (!NearWholeCanvas(box) && fragments.size() >= 2 && fragments.size() <= kMostFragments) {
        rects = fragments;
    } else {
        rects.push_back(box);
    }
    return static_cast<int>(rects.size());
}

bool DMDrawImpl::NearWholeCanvas(const RECT& box) const {
    return box.right - box.left + kNearWholeSlack >= m_rcCanvas.right - m_rcCanvas.left &&
           box.bottom - box.top + kNearWholeSlack >= m_rcCanvas.bottom - m_rcCanvas.top;
}

void DMDrawImpl::PaintWidget(IDMCanvas* canvas, DUIWindow* widget) {
    IDMCanvas* cache = widget->XmlInfo().m_bCache ? widget->GetCacheCanvas() : nullptr;
    if (!cache) {
        widget->SendMessage(plat::WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas));
        widget->SendMessage(plat::WM_PAINT, reinterpret_cast<WPARAM>(canvas));
        return;
    }
    const RECT& rect = widget->m_rcWindow;
    if (widget->IsDirty()) {
        RefreshCache(canvas, cache, widget);
    }
    canvas->BitBlt(cache, rect.left, rect.top, rect, SRCCOPY);
}

// The cache gets what lies under the widget, the canvas's font and text colour, and the
// widget's own painting.
void DMDrawImpl::RefreshCache(IDMCanvas* canvas, IDMCanvas* cache, DUIWindow* widget) {
    const RECT& rect = widget->m_rcWindow;
    cache->SetViewportOrg(-rect.left, -rect.top, nullptr);
    cache->BitBlt(canvas, rect.left, rect.top, rect, SRCCOPY);
    IDMMetaFile* previousFont = nullptr;
    DMColor previousColor;
    bool environ = widget->IsDrawEnvironNeeded();
    if (environ) {
        IDMMetaFile* font = nullptr;
        if (canvas->GetObject(&font, DMF_FONT) == DM_ECODE_OK && font) {
            cache->SelectObject(font, &previousFont);
        }
        cache->SetTextColor(canvas->GetTextColor(), &previousColor);
    }
    widget->SendMessage(plat::WM_ERASEBKGND, reinterpret_cast<WPARAM>(cache));
    widget->SendMessage(plat::WM_PAINT, reinterpret_cast<WPARAM>(cache));
    if (environ) {
        cache->SetTextColor(previousColor, nullptr);
        if (previousFont) {
            cache->SelectObject(previousFont, nullptr);
            previousFont->Release();
        }
    }
    widget->ClearDirty();
}

int DMDrawImpl::DrawTree(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget, DUIWindow* start,
                         DUIWindow* end, Progress& progress) {
    if (!region || region->IsEmpty() || progress == Finished ||
        (progress == Drawing && widget == end)) {
        progress = Finished;
        return 1;
    }
    RECT layout{};
    widget->GetLayoutRect(layout);
    if (!widget->IsVisible(true) || !widget->IsLaidOut() || !Meets(region, layout)) {
        return 0;
    }
    if (progress == Before && widget == start) {
        progress = Drawing;
    }
    RECT client{};
    widget->GetClientRect(client);
    bool drawn = progress == Drawing && Meets(region, client);
    bool clipped = drawn && widget->XmlInfo().m_bOnlyDrawClient;
    if (clipped) {
        canvas->PushClip(client, RGN_AND);
    }
    if (drawn) {
        PaintWidget(canvas, widget);
    }
    // The children inherit the widget's font and text colour.
    DUIDrawEnviron saved;
    bool environ = widget->IsDrawEnvironNeeded();
    if (environ) {
        widget->PushDrawEnviron(canvas, saved);
    }
    for (DUIWindow* child = widget->GetWindow(GDW_FIRSTCHILD); child && progress != Finished;
         child = child->GetWindow(GDW_NEXTSIBLING)) {
        DrawTree(canvas, region, child, start, end, progress);
    }
    if (environ) {
        widget->PopDrawEnviron(canvas, saved);
    }
    if (clipped) {
        canvas->PopClip();
    }
    if (progress == Drawing) {
        widget->SendMessage(plat::WM_NCPAINT, reinterpret_cast<WPARAM>(canvas));
    }
    return progress == Finished ? 1 : 0;
}

DMCode DMDrawImpl::Draw(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) {
    if (!canvas || !widget) {
        return DM_ECODE_FAIL;
    }
    DMSmartPtrT<IDMRegion> own;
    if (!region) {
        RECT layout{};
        widget->GetLayoutRect(layout);
        own = NewRegion(&layout);
        region = own.get();
    }
    Progress progress = Before;
    DrawTree(canvas, region, widget, widget, nullptr, progress);
    return DM_ECODE_OK;
}

DMCode DMDrawImpl::DrawBackground(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) {
    if (!canvas || !region || !widget) {
        return DM_ECODE_FAIL;
    }
    canvas->PushClipRegion(region, RGN_AND);
    Progress progress = Before;
    DUIWindow* top = widget->GetTopWindow();
    DrawTree(canvas, region, top, top, widget, progress);
    canvas->PopClip();
    return DM_ECODE_OK;
}

// Everything above the widget: what follows it in tree order.
DMCode DMDrawImpl::DrawForeground(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) {
    if (!canvas || !region || !widget) {
        return DM_ECODE_FAIL;
    }
    auto narrowed = NewRegion(nullptr);
    for (const RECT& rect : RectsOf(region)) {
        narrowed->CombineRect(rect, RGN_OR);
    }
    narrowed->CombineRect(widget->m_rcWindow, RGN_AND);
    RECT box{};
    narrowed->GetRgnBox(box);
    DUIWindow* start = nullptr;
    for (DUIWindow* at = widget; at && !start; at = at->GetWindow(GDW_PARENT)) {
        for (DUIWindow* next = at->GetWindow(GDW_NEXTSIBLING); next && !start;
             next = next->GetWindow(GDW_NEXTSIBLING)) {
            RECT layout{};
            next->GetLayoutRect(layout);
            RECT meet{std::max(layout.left, box.left), std::max(layout.top, box.top),
                      std::min(layout.right, box.right), std::min(layout.bottom, box.bottom)};
            if (next->IsVisible(true) && !IsEmptyRect(meet)) {
                start = next;
            }
        }
    }
    if (!start) {
        return DM_ECODE_FAIL;
    }
    canvas->PushClipRegion(narrowed.get(), RGN_AND);
    Progress progress = Before;
    DrawTree(canvas, narrowed.get(), widget->GetTopWindow(), start, nullptr, progress);
    canvas->PopClip();
    return DM_ECODE_OK;
}

void DMDrawImpl::RenderFragments(DUIWindow* widget, const std::vector<RECT>& fragments) {
    for (const RECT& fragment : fragments) {
        IDMCanvas* created = nullptr;
        m_pRender->CreateCanvas(fragment.right - fragment.left, fragment.bottom - fragment.top,
                                &created);
        auto part = DMSmartPtrT<IDMCanvas>::Adopt(created);
        auto only = NewRegion(&fragment);
        if (!part) {  // drawn in place instead, clipped to the fragment
            Draw(m_pCanvas.get(), only.get(), widget);
            continue;
        }
        part->SetViewportOrg(-fragment.left, -fragment.top, nullptr);
        part->SelectObject(DMApp::GetObjPtr()->GetFont(L""), nullptr);
        Draw(part.get(), only.get(), widget);
        part->SetViewportOrg(0, 0, nullptr);
        m_pCanvas->BitBlt(part.get(), 0, 0, fragment, SRCCOPY);
    }
}

DMCode DMDrawImpl::Render(DUIWindow* widget) {
    if (!m_bNeedRender || !m_pCanvas) {
        return DM_ECODE_FAIL;
    }
    m_bNeedRender = false;
    IDMMetaFile* previousFont = nullptr;
    if (m_bOnlyOneRect) {
        if (!IsEmptyRect(m_rcOnlyOne)) {
            bool whole = ContainsRect(m_rcOnlyOne, m_rcCanvas);
            if (!whole) {
                m_pCanvas->PushClip(m_rcOnlyOne, RGN_COPY);
            }
            m_pCanvas->ClearRect(m_rcOnlyOne, DMColor::FromValue(0));
            m_pCanvas->SelectObject(DMApp::GetObjPtr()->GetFont(L""), &previousFont);
            Draw(m_pCanvas.get(), m_pInvalidRegion.get(), widget);
            if (!whole) {
                m_pCanvas->PopClip();
            }
        }
        m_rcOnlyOne = {0, 0, 0, 0};
    } else {
        m_pCanvas->PushClipRegion(m_pInvalidRegion.get(), RGN_COPY);
        RECT box{};
        m_pInvalidRegion->GetRgnBox(box);
        m_pCanvas->ClearRect(box, DMColor::FromValue(0));
        m_pCanvas->SelectObject(DMApp::GetObjPtr()->GetFont(L""), &previousFont);
        std::vector<RECT> fragments = RectsOf(m_pInvalidRegion.get());
        if (!NearWholeCanvas(box) && fragments.size() >= 2 && fragments.size() <= kMostFragments) {
            RenderFragments(widget, fragments);
        } else {
            Draw(m_pCanvas.get(), m_pInvalidRegion.get(), widget);
        }
        m_pCanvas->PopClip();
    }
    if (previousFont) {
        m_pCanvas->SelectObject(previousFont, nullptr);
        previousFont->Release();
    }
    m_pInvalidRegion->Clear();
    return DM_ECODE_OK;
}

}  // namespace DM
