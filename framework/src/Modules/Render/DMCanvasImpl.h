// A canvas: an off-screen picture with its selected pen, brush, font and bitmap, the text
// colour, the viewport origin and the clip. Drawing goes through cairo straight onto the
// premultiplied pixels, so text, shapes and fills blend with their alpha on transparent and
// opaque areas alike.
#pragma once

#include <cairo.h>

#include <optional>
#include <vector>

#include "DMRectSet.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"

namespace DM {

class DMBitmapImpl;
class DMLaidOutText;

class DMCanvasImpl : public IDMCanvas {
public:
    DMCanvasImpl();

    int GetObjectType() const override { return DMF_CANVAS; }
    DMCode SelectObject(IDMMetaFile* object, IDMMetaFile** previous) override;
    DMCode GetObject(IDMMetaFile** object, int type) override;
    DMCode Init(int width, int height) override { return Resize(width, height); }
    DMCode Resize(int width, int height) override;
    DMCode GetSize(SIZE& size) override;
    void* GetDC() override;
    DMCode ReleaseDC(void*) override { return DM_ECODE_NOTIMPL; }
    DMCode SaveCanvas(int* id) override;
    DMCode RestoreCanvas(int id) override;
    DMCode AdjustHSL(int hue, int saturation, int lightness, const RECT* rect) override;
    DMCode RestoreCopy() override;
    std::uint32_t* GetPixelBits(int* byteCount) override;
    DMCode BitBlt(IDMCanvas* source, int sourceX, int sourceY, const RECT& destination,
                  DWORD rop) override;
    DMCode AlphaBlend(IDMCanvas* source, const RECT& sourceRect, const RECT& destination,
                      BYTE alpha) override;
    DMCode DrawBitmap(IDMBitmap* bitmap, const RECT& source, const RECT& destination, BYTE alpha,
                      int mode) override;
    DMCode DrawBitmapNine(IDMBitmap* bitmap, const RECT& source, const RECT& margins,
                          const RECT& destination, int mode, BYTE alpha) override;
    DMCode DrawRectangle(const RECT& rect) override;
    DMCode FillRectangle(const RECT& rect) override;
    DMCode FillSolidRect(const RECT& rect, DMColor color) override;
    DMCode ClearRect(const RECT& rect, DMColor color) override;
    DMCode DrawRoundRect(const RECT& rect, const POINT& corner) override;
    DMCode FillRoundRect(const RECT& rect, const POINT& corner) override;
    DMCode DrawEllipse(const RECT& rect) override;
    DMCode FillEllipse(const RECT& rect) override;
    DMCode Polyline(const POINT* points, int count) override;
    DMCode GradientFill(DMColor first, DMColor second, const RECT& rect, bool vertical,
                        BYTE alpha) override;
    DMCode SetTextColor(DMColor color, DMColor* previous) override;
    DMColor GetTextColor() override { return m_clrText; }
    DMCode MeasureText(const wchar_t* text, int length, SIZE& size) override;
    DMCode DrawText(const wchar_t* text, int length, RECT& rect, UINT format, BYTE alpha) override;
    DMCode TextOut(const wchar_t* text, int length, int x, int y, BYTE alpha) override;
    DMCode OffsetViewportOrg(int dx, int dy, POINT* previous) override;
    DMCode SetViewportOrg(int x, int y, POINT* previous) override;
    DMCode GetViewportOrg(POINT& origin) override;
    DMCode PushClip(const RECT& rect, int mode) override;
    DMCode PushClipRegion(IDMRegion* region, int mode) override;
    DMCode PopClip() override;
    DMCode GetClipBox(RECT& box) override;
    DMCode GetClipRegion(IDMRegion** region) override;
    DMCode ExcludeClipRect(const RECT& rect) override;
    DMCode IntersectClipRect(const RECT& rect) override;
    DMCode SaveBmpFile(const wchar_t* path) override;
    DMCode AdjustAlpha(BYTE alpha, const RECT* rect) override;
    DMCode AlphaBackup(const RECT& rect) override;
    DMCode AlphaRestore() override;
    DMCode DrawArc(const RECT& rect, float startAngle, float sweepAngle) override;
    DMCode FillPie(const RECT& rect, float startAngle, float sweepAngle) override;

    DMBitmapImpl* Bitmap() const;

private:
    struct State {
        std::optional<DMRectSet> clip;
        POINT origin;
    };

    // A cairo context on the bitmap, clipped by the canvas's clip and moved by its origin.
    class Drawing {
    public:
        explicit Drawing(const DMCanvasImpl& canvas);
        ~Drawing();
        Drawing(const Drawing&) = delete;
        Drawing& operator=(const Drawing&) = delete;
        cairo_t* cr() const { return m_cr; }

    private:
        cairo_t* m_cr;
    };

    bool SetKeptScaledSource(cairo_t* cr, IDMBitmap* bitmap, const RECT& source,
                             const RECT& destination) const;
    RECT ToDevice(const RECT& rect) const;
    RECT DeviceBounds() const;
    DMRectSet CurrentClip() const;
    // The logical rectangle cut down to the clip box; empty when nothing can be drawn.
    RECT VisiblePart(const RECT& rect) const;
    void CombineClip(const DMRectSet& area, int mode);
    void SetPenSource(cairo_t* cr) const;
    bool SetBrushSource(cairo_t* cr) const;
    void StrokeShape(void (*path)(cairo_t*, const RECT&, const POINT&), const RECT& rect,
                     const POINT& corner);
    void FillShape(void (*path)(cairo_t*, const RECT&, const POINT&), const RECT& rect,
                   const POINT& corner);
    void BlendText(DMLaidOutText& text, const POINT& at, const RECT& box, BYTE alpha);

    DMSmartPtrT<IDMBitmap> m_bitmap;
    DMSmartPtrT<IDMPen> m_pen;
    DMSmartPtrT<IDMBrush> m_brush;
    DMSmartPtrT<IDMFont> m_font;
    DMColor m_clrText;
    POINT m_ptOrg{0, 0};
    std::optional<DMRectSet> m_clip;
    std::vector<State> m_saved;
};

}  // namespace DM
