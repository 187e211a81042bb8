// A bitmap: one 32-bit premultiplied picture.
#pragma once

#include <vector>

#include "DMDIBHelper.h"
#include "IDMRender.h"

namespace DM {

class DMBitmapImpl : public IDMBitmap {
public:
    int GetObjectType() const override { return DMF_BITMAP; }
    DMCode Init(int width, int height, const void* pixels) override;
    DMCode InitFromFrame(IDMImgFrame* frame) override;
    DMCode LoadFromFile(const wchar_t* path) override;
    DMCode LoadFromMemory(const void* bytes, std::size_t length) override;
    // Works from a copy of the pixels saved by the first adjustment, so adjustments do not
    // add up; RestoreCopy puts that copy back.
    DMCode AdjustHSL(int hue, int saturation, int lightness, const RECT* rect) override;
    DMCode RestoreCopy() override;
    DMCode SaveBmpFile(const wchar_t* path) override;
    DMCode AdjustAlpha(BYTE alpha, const RECT* rect) override;
    DMCode AlphaBackup(const RECT& rect) override;
    DMCode AlphaRestore() override;
    int GetWidth() const override { return m_dib.Width(); }
    int GetHeight() const override { return m_dib.Height(); }
    std::size_t GetByteCount() const override { return m_dib.ByteCount(); }
    int GetRowBytes() const override { return m_dib.RowBytes(); }
    std::uint32_t GetPixel(int x, int y) const override;
    bool SetPixel(int x, int y, std::uint32_t value) override;
    std::uint32_t* GetPixelBits() override;
    void* GetBitmap() override;

    DMDIBHelper& Dib() { return m_dib; }
    // Whether the pixels or the surface were handed out: whoever holds them may change the
    // pixels at any time without the content id changing.
    bool PixelsHandedOut() const { return m_pixelsHandedOut; }

private:
    DMDIBHelper m_dib;
    bool m_pixelsHandedOut = false;
    std::vector<std::uint32_t> m_copy;
};

}  // namespace DM
