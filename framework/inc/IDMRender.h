// The drawing objects: canvases (off-screen 32-bit pictures with per-pixel alpha, premultiplied
// B, G, R, A, rows top to bottom), bitmaps, pens, brushes, fonts and regions, all made by the
// render object (the default object of type 8).
#pragma once

#include <cstdint>

#include "DMBase.h"
#include "DMColor.h"
#include "DMRefNum.h"
#include "DMSmartPtrT.h"
#include "plat/logfont.h"

namespace DM {

enum DMMetaFileType {
    DMF_PEN = 1,
    DMF_BRUSH = 2,
    DMF_BITMAP = 3,
    DMF_FONT = 4,
    DMF_REGION = 5,
    DMF_CANVAS = 6,
};

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DOT = 2;

// Region and clip combine modes.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Text formats.
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

constexpr DWORD SRCCOPY = 0xCC0020;

class IDMMetaFile : public DMRefNum {
public:
    virtual int GetObjectType() const = 0;
};

class IDMImgFrame;

class IDMBitmap : public IDMMetaFile {
public:
    virtual DMCode Init(int width, int height, const void* pixels) = 0;
    virtual DMCode InitFromFrame(IDMImgFrame* frame) = 0;
    virtual DMCode LoadFromFile(const wchar_t* path) = 0;
    virtual DMCode LoadFromMemory(const void* bytes, std::size_t length) = 0;
    virtual DMCode AdjustHSL(int hue, int saturation, int lightness, const RECT* rect) = 0;
    virtual DMCode RestoreCopy() = 0;
    virtual DMCode SaveBmpFile(const wchar_t* path) = 0;
    virtual DMCode AdjustAlpha(BYTE alpha, const RECT* rect) = 0;
    virtual DMCode AlphaBackup(const RECT& rect) = 0;
    virtual DMCode AlphaRestore() = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual std::size_t GetByteCount() const = 0;
    virtual int GetRowBytes() const = 0;
    // The pixel, or 0xFFFFFFFF outside the picture.
    virtual std::uint32_t GetPixel(int x, int y) const = 0;
    virtual bool SetPixel(int x, int y, std::uint32_t value) = 0;
    virtual std::uint32_t* GetPixelBits() = 0;
    // The platform picture behind the bitmap (a cairo image surface here).
    virtual void* GetBitmap() = 0;
};

class IDMPen : public IDMMetaFile {
public:
    virtual int GetStyle() const = 0;
    virtual int GetWidth() const = 0;
    virtual DMColor GetColor() const = 0;
};

class IDMBrush : public IDMMetaFile {
public:
    virtual bool IsBitmap() const = 0;
    virtual DMColor GetColor() const = 0;
    // The picture of a picture brush, without an added reference.
    virtual IDMBitmap* GetBrushBitmap() const = 0;
};

class IDMFont : public IDMMetaFile {
public:
    virtual const plat::LOGFONTW* GetLogFont() const = 0;
    virtual const wchar_t* GetFaceName() const = 0;
    virtual bool IsUnderline() const = 0;
    virtual bool IsItalic() const = 0;
    virtual bool IsStrikeOut() const = 0;
};

class IDMRegion : public IDMMetaFile {
public:
    virtual DMCode CombineRect(const RECT& rect, int mode) = 0;
    virtual bool PtInRegion(const POINT& point) const = 0;
    virtual bool RectInRegion(const RECT& rect) const = 0;
    virtual void GetRgnBox(RECT& box) const = 0;
    virtual bool IsEmpty() const = 0;
    virtual void Offset(const POINT& by) = 0;
    virtual void Clear() = 0;
    virtual void GetRectCount(int& count) const = 0;
    // Copies at most `count` rectangles.
    virtual void GetRects(RECT* rects, int count) const = 0;
};

class IDMCanvas : public IDMMetaFile {
public:
    // `previous` receives the replaced object with one reference for the caller.
    virtual DMCode SelectObject(IDMMetaFile* object, IDMMetaFile** previous = nullptr) = 0;
    virtual DMCode GetObject(IDMMetaFile** object, int type) = 0;
    virtual DMCode Init(int width, int height) = 0;
    virtual DMCode Resize(int width, int height) = 0;
    virtual DMCode GetSize(SIZE& size) = 0;
    // The canvas's drawing context (a cairo context here).
    virtual void* GetDC() = 0;
    virtual DMCode ReleaseDC(void* context) = 0;
    virtual DMCode SaveCanvas(int* id = nullptr) = 0;
    virtual DMCode RestoreCanvas(int id = -1) = 0;
    virtual DMCode AdjustHSL(int hue, int saturation, int lightness, const RECT* rect) = 0;
    virtual DMCode RestoreCopy() = 0;
    virtual std::uint32_t* GetPixelBits(int* byteCount) = 0;
    virtual DMCode BitBlt(IDMCanvas* source, int sourceX, int sourceY, const RECT& destination,
                          DWORD rop = SRCCOPY) = 0;
    virtual DMCode AlphaBlend(IDMCanvas* source, const RECT& sourceRect, const RECT& destination,
                              BYTE alpha = 0xFF) = 0;
    virtual DMCode DrawBitmap(IDMBitmap* bitmap, const RECT& source, const RECT& destination,
                              BYTE alpha = 0xFF, int mode = 0) = 0;
    virtual DMCode DrawBitmapNine(IDMBitmap* bitmap, const RECT& source, const RECT& margins,
                                  const RECT& destination, int mode = 0, BYTE alpha = 0xFF) = 0;
    virtual DMCode DrawRectangle(const RECT& rect) = 0;
    virtual DMCode FillRectangle(const RECT& rect) = 0;
    virtual DMCode FillSolidRect(const RECT& rect, DMColor color) = 0;
    virtual DMCode ClearRect(const RECT& rect, DMColor color) = 0;
    virtual DMCode DrawRoundRect(const RECT& rect, const POINT& corner) = 0;
    virtual DMCode FillRoundRect(const RECT& rect, const POINT& corner) = 0;
    virtual DMCode DrawEllipse(const RECT& rect) = 0;
    virtual DMCode FillEllipse(const RECT& rect) = 0;
    virtual DMCode Polyline(const POINT* points, int count) = 0;
    virtual DMCode GradientFill(DMColor first, DMColor second, const RECT& rect, bool vertical,
                                BYTE alpha = 0xFF) = 0;
    virtual DMCode SetTextColor(DMColor color, DMColor* previous = nullptr) = 0;
    virtual DMColor GetTextColor() = 0;
    virtual DMCode MeasureText(const wchar_t* text, int length, SIZE& size) = 0;
    virtual DMCode DrawText(const wchar_t* text, int length, RECT& rect, UINT format,
                            BYTE alpha = 0xFF) = 0;
    virtual DMCode TextOut(const wchar_t* text, int length, int x, int y, BYTE alpha = 0xFF) = 0;
    virtual DMCode OffsetViewportOrg(int dx, int dy, POINT* previous = nullptr) = 0;
    virtual DMCode SetViewportOrg(int x, int y, POINT* previous = nullptr) = 0;
    virtual DMCode GetViewportOrg(POINT& origin) = 0;
    virtual DMCode PushClip(const RECT& rect, int mode = RGN_AND) = 0;
    virtual DMCode PushClipRegion(IDMRegion* region, int mode = RGN_AND) = 0;
    virtual DMCode PopClip() = 0;
    virtual DMCode GetClipBox(RECT& box) = 0;
    virtual DMCode GetClipRegion(IDMRegion** region) = 0;
    virtual DMCode ExcludeClipRect(const RECT& rect) = 0;
    virtual DMCode IntersectClipRect(const RECT& rect) = 0;
    virtual DMCode SaveBmpFile(const wchar_t* path) = 0;
    virtual DMCode AdjustAlpha(BYTE alpha, const RECT* rect) = 0;
    virtual DMCode AlphaBackup(const RECT& rect) = 0;
    virtual DMCode AlphaRestore() = 0;
    virtual DMCode DrawArc(const RECT& rect, float startAngle, float sweepAngle) = 0;
    virtual DMCode FillPie(const RECT& rect, float startAngle, float sweepAngle) = 0;
};

class IDMRender : public DMBase {
public:
    virtual DMCode CreateBitmap(IDMBitmap** bitmap) = 0;
    virtual DMCode CreateFont(const plat::LOGFONTW* font, IDMFont** out) = 0;
    virtual DMCode CreateRegion(IDMRegion** region) = 0;
    virtual DMCode CreatePen(DMColor color, int style, int width, IDMPen** pen) = 0;
    virtual DMCode CreateSolidBrush(DMColor color, IDMBrush** brush) = 0;
    virtual DMCode CreateBitmapBrush(IDMBitmap* bitmap, IDMBrush** brush) = 0;
    virtual DMCode CreateCanvas(int width, int height, IDMCanvas** canvas) = 0;
};

}  // namespace DM

namespace DM {

// Writes the bitmap as a PNG file (straight alpha, as PNG keeps it), for tests and tools.
DMCode SavePngFile(IDMBitmap* bitmap, const wchar_t* path);

// A canvas of the given size from the default render object; none without one.
DMSmartPtrT<IDMCanvas> NewCanvas(int width, int height);

}  // namespace DM
