#include "DMCanvasImpl.h"

#include <cstring>

#include "DMBitmapImpl.h"
#include "DMBrushImpl.h"
#include "DMFontImpl.h"
#include "DMPenImpl.h"
#include "DMPixelOps.h"
#include "DMRegionImpl.h"

namespace DM {
namespace {

plat::LOGFONTW DefaultCanvasFont() {
    plat::LOGFONTW font{};
    font.lfHeight = 20;
    font.lfWeight = plat::FW_NORMAL;
    font.lfCharSet = plat::DEFAULT_CHARSET;
    std::wcscpy(font.lfFaceName, L"宋体");
    return font;
}

// The previous object comes with a reference for the caller, since the canvas lets go of it.
template <class T>
void Replace(DMSmartPtrT<T>& current, IDMMetaFile* object, IDMMetaFile** previous) {
    if (previous) {
        *previous = current.get();
        if (*previous) {
            (*previous)->AddRef();
        }
    }
    current = DMSmartPtrT<T>(static_cast<T*>(object));
}

}  // namespace

DMCanvasImpl::Drawing::Drawing(const DMCanvasImpl& canvas)
    : m_cr(cairo_create(static_cast<cairo_surface_t*>(canvas.m_bitmap->GetBitmap()))) {
    if (canvas.m_clip) {
        for (const RECT& rect : canvas.m_clip->Rects()) {
            cairo_rectangle(m_cr, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top);
        }
        cairo_clip(m_cr);
    }
    cairo_translate(m_cr, canvas.m_ptOrg.x, canvas.m_ptOrg.y);
}

DMCanvasImpl::Drawing::~Drawing() {
    cairo_destroy(m_cr);
}

DMCanvasImpl::DMCanvasImpl()
    : m_bitmap(DMSmartPtrT<IDMBitmap>::Adopt(new DMBitmapImpl)),
      m_pen(DMSmartPtrT<IDMPen>::Adopt(new DMPenImpl(DMColor(), PS_SOLID, 1))),
      m_brush(DMSmartPtrT<IDMBrush>::Adopt(new DMBrushImpl(DMColor()))),
      m_font(DMSmartPtrT<IDMFont>::Adopt(new DMFontImpl(DefaultCanvasFont()))) {}

DMBitmapImpl* DMCanvasImpl::Bitmap() const {
    return static_cast<DMBitmapImpl*>(m_bitmap.get());
}

RECT DMCanvasImpl::ToDevice(const RECT& rect) const {
    return {rect.left + m_ptOrg.x, rect.top + m_ptOrg.y, rect.right + m_ptOrg.x,
            rect.bottom + m_ptOrg.y};
}

RECT DMCanvasImpl::DeviceBounds() const {
    return {0, 0, m_bitmap->GetWidth(), m_bitmap->GetHeight()};
}

// A clip set by code may reach beyond the bitmap; what is drawn never does.
DMRectSet DMCanvasImpl::CurrentClip() const {
    if (!m_clip) {
        return DMRectSet(DeviceBounds());
    }
    DMRectSet clip = *m_clip;
    clip.Combine(DMRectSet(DeviceBounds()), RGN_AND);
    return clip;
}

RECT DMCanvasImpl::VisiblePart(const RECT& rect) const {
    RECT box{};
    const_cast<DMCanvasImpl*>(this)->GetClipBox(box);
    return IntersectRects(rect, box);
}

DMCode DMCanvasImpl::SelectObject(IDMMetaFile* object, IDMMetaFile** previous) {
    if (!object) {
        return DM_ECODE_FAIL;
    }
    switch (object->GetObjectType()) {
        case DMF_PEN:
            Replace(m_pen, object, previous);
            return DM_ECODE_OK;
        case DMF_BRUSH:
            Replace(m_brush, object, previous);
            return DM_ECODE_OK;
        case DMF_BITMAP:
            Replace(m_bitmap, object, previous);
            return DM_ECODE_OK;
        case DMF_FONT:
            Replace(m_font, object, previous);
            return DM_ECODE_OK;
        default:
            return DM_ECODE_FAIL;
    }
}

DMCode DMCanvasImpl::GetObject(IDMMetaFile** object, int type) {
    if (!object) {
        return DM_ECODE_FAIL;
    }
    IDMMetaFile* found = nullptr;
    switch (type) {
        case DMF_PEN:
            found = m_pen.get();
            break;
        case DMF_BRUSH:
            found = m_brush.get();
            break;
        case DMF_BITMAP:
            found = m_bitmap.get();
            break;
        case DMF_FONT:
            found = m_font.get();
            break;
        default:
            return DM_ECODE_FAIL;
    }
    *object = found;
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::Resize(int width, int height) {
    if (width < 0 || height < 0 || !m_bitmap) {
        return DM_ECODE_FAIL;
    }
    return m_bitmap->Init(width, height, nullptr);
}

DMCode DMCanvasImpl::GetSize(SIZE& size) {
    size = {m_bitmap->GetWidth(), m_bitmap->GetHeight()};
    return DM_ECODE_OK;
}

void* DMCanvasImpl::GetDC() {
    return m_bitmap->GetBitmap();
}

DMCode DMCanvasImpl::SaveCanvas(int* id) {
    m_saved.push_back({m_clip, m_ptOrg});
    if (id) {
        *id = static_cast<int>(m_saved.size());
    }
    return DM_ECODE_OK;
}

// -1 restores the last saved state; a positive id the state saved under it, dropping the
// later ones.
DMCode DMCanvasImpl::RestoreCanvas(int id) {
    std::size_t target = id < 0 ? m_saved.size() : static_cast<std::size_t>(id);
    if (m_saved.empty() || target == 0 || target > m_saved.size()) {
        return DM_ECODE_FAIL;
    }
    m_clip = m_saved[target - 1].clip;
    m_ptOrg = m_saved[target - 1].origin;
    m_saved.resize(target - 1);
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::AdjustHSL(int hue, int saturation, int lightness, const RECT* rect) {
    RECT device = rect ? ToDevice(*rect) : DeviceBounds();
    return m_bitmap->AdjustHSL(hue, saturation, lightness, &device);
}

DMCode DMCanvasImpl::RestoreCopy() {
    return m_bitmap->RestoreCopy();
}

std::uint32_t* DMCanvasImpl::GetPixelBits(int* byteCount) {
    if (byteCount) {
        *byteCount = static_cast<int>(m_bitmap->GetByteCount());
    }
    return m_bitmap->GetPixelBits();
}

DMCode DMCanvasImpl::BitBlt(IDMCanvas* source, int sourceX, int sourceY, const RECT& destination,
                            DWORD) {
    auto* from = static_cast<DMCanvasImpl*>(source);
    if (!from || IsEmptyRect(destination)) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    cairo_t* cr = drawing.cr();
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(from->m_bitmap->GetBitmap()),
                             destination.left - sourceX - from->m_ptOrg.x,
                             destination.top - sourceY - from->m_ptOrg.y);
    cairo_rectangle(cr, destination.left, destination.top, destination.right - destination.left,
                    destination.bottom - destination.top);
    cairo_fill(cr);
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::AlphaBlend(IDMCanvas* source, const RECT& sourceRect, const RECT& destination,
                                BYTE alpha) {
    auto* from = static_cast<DMCanvasImpl*>(source);
    if (!from) {
        return DM_ECODE_FAIL;
    }
    RECT shifted = {sourceRect.left + from->m_ptOrg.x, sourceRect.top + from->m_ptOrg.y,
                    sourceRect.right + from->m_ptOrg.x, sourceRect.bottom + from->m_ptOrg.y};
    return DrawBitmap(from->m_bitmap.get(), shifted, destination, alpha, 0);
}

DMCode DMCanvasImpl::ClearRect(const RECT& rect, DMColor color) {
    DMRectSet area(ToDevice(rect));
    area.Combine(CurrentClip(), RGN_AND);
    DMDIBHelper& dib = Bitmap()->Dib();
    dib.Flush();
    for (const RECT& part : area.Rects()) {
        for (LONG y = part.top; y < part.bottom; ++y) {
            std::uint32_t* row = dib.Pixels() + static_cast<std::size_t>(y) * dib.Width();
            std::fill(row + part.left, row + part.right, color.ToValue());
        }
    }
    dib.MarkDirty();
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::OffsetViewportOrg(int dx, int dy, POINT* previous) {
    return SetViewportOrg(m_ptOrg.x + dx, m_ptOrg.y + dy, previous);
}

DMCode DMCanvasImpl::SetViewportOrg(int x, int y, POINT* previous) {
    if (previous) {
        *previous = m_ptOrg;
    }
    m_ptOrg = {x, y};
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::GetViewportOrg(POINT& origin) {
    origin = m_ptOrg;
    return DM_ECODE_OK;
}

void DMCanvasImpl::CombineClip(const DMRectSet& area, int mode) {
    DMRectSet clip = CurrentClip();
    clip.Combine(area, mode);
    m_clip = clip;
}

DMCode DMCanvasImpl::PushClip(const RECT& rect, int mode) {
    SaveCanvas(nullptr);
    CombineClip(DMRectSet(ToDevice(rect)), mode);
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::PushClipRegion(IDMRegion* region, int mode) {
    if (!region) {
        return DM_ECODE_FAIL;
    }
    SaveCanvas(nullptr);
    DMRectSet area = static_cast<DMRegionImpl*>(region)->Set();
    area.Offset(m_ptOrg.x, m_ptOrg.y);
    CombineClip(area, mode);
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::PopClip() {
    return RestoreCanvas(-1);
}

DMCode DMCanvasImpl::GetClipBox(RECT& box) {
    RECT device = CurrentClip().Box();
    box = {device.left - m_ptOrg.x, device.top - m_ptOrg.y, device.right - m_ptOrg.x,
           device.bottom - m_ptOrg.y};
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::GetClipRegion(IDMRegion** region) {
    if (!region) {
        return DM_ECODE_FAIL;
    }
    auto* clip = new DMRegionImpl;
    DMRectSet set = CurrentClip();
    set.Offset(-m_ptOrg.x, -m_ptOrg.y);
    clip->Assign(set);
    *region = clip;
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::ExcludeClipRect(const RECT& rect) {
    CombineClip(DMRectSet(ToDevice(rect)), RGN_DIFF);
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::IntersectClipRect(const RECT& rect) {
    CombineClip(DMRectSet(ToDevice(rect)), RGN_AND);
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::SaveBmpFile(const wchar_t* path) {
    return m_bitmap->SaveBmpFile(path);
}

DMCode DMCanvasImpl::AdjustAlpha(BYTE alpha, const RECT* rect) {
    RECT device = rect ? ToDevice(*rect) : DeviceBounds();
    return m_bitmap->AdjustAlpha(alpha, &device);
}

DMCode DMCanvasImpl::AlphaBackup(const RECT& rect) {
    return m_bitmap->AlphaBackup(ToDevice(rect));
}

DMCode DMCanvasImpl::AlphaRestore() {
    return m_bitmap->AlphaRestore();
}

}  // namespace DM
