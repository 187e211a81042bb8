#include "DMPixelOps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>

#include "DMRectSet.h"
#include "plat/drive_map.h"

namespace DM {
namespace {

constexpr std::size_t kFixedAlphaSave = 60000;

struct AlphaSaveArea {
    RECT area{};
    bool saved = false;
    std::array<BYTE, kFixedAlphaSave> fixed{};
    std::vector<BYTE> heap;
    BYTE* Bytes(std::size_t count) {
        if (count <= fixed.size()) {
            return fixed.data();
        }
        heap.resize(count);
        return heap.data();
    }
};

AlphaSaveArea& SaveArea() {
    static AlphaSaveArea area;
    return area;
}

struct Hsl {
    double h, s, l;
};

Hsl ToHsl(double r, double g, double b) {
    double high = std::max({r, g, b});
    double low = std::min({r, g, b});
    double l = (high + low) / 2;
    if (high == low) {
        return {0, 0, l};
    }
    double d = high - low;
    double s = l > 0.5 ? d / (2 - high - low) : d / (high + low);
    double h = 0;
    if (high == r) {
        h = (g - b) / d + (g < b ? 6 : 0);
    } else if (high == g) {
        h = (b - r) / d + 2;
    } else {
        h = (r - g) / d + 4;
    }
    return {h * 60, s, l};
}

double HueChannel(double p, double q, double t) {
    t = t < 0 ? t + 1 : (t > 1 ? t - 1 : t);
    if (t < 1.0 / 6) {
        return p + (q - p) * 6 * t;
    }
    if (t < 0.5) {
        return q;
    }
    if (t < 2.0 / 3) {
        return p + (q - p) * (2.0 / 3 - t) * 6;
    }
    return p;
}

void FromHsl(const Hsl& hsl, double& r, double& g, double& b) {
    if (hsl.s == 0) {
        r = g = b = hsl.l;
        return;
    }
    double q = hsl.l < 0.5 ? hsl.l * (1 + hsl.s) : hsl.l + hsl.s - hsl.l * hsl.s;
    double p = 2 * hsl.l - q;
    double h = hsl.h / 360;
    r = HueChannel(p, q, h + 1.0 / 3);
    g = HueChannel(p, q, h);
    b = HueChannel(p, q, h - 1.0 / 3);
}

// A premultiplied colour channel never exceeds its alpha.
BYTE ToChannel(double value, BYTE alpha) {
    return static_cast<BYTE>(std::min<double>(alpha, std::lround(value * 255)));
}

std::uint32_t AdjustPixel(std::uint32_t pixel, int hue, double saturation, double lightness) {
    BYTE alpha = static_cast<BYTE>(pixel >> 24);
    Hsl hsl = ToHsl(((pixel >> 16) & 0xFF) / 255.0, ((pixel >> 8) & 0xFF) / 255.0,
                    (pixel & 0xFF) / 255.0);
    hsl.h = std::fmod(hsl.h + hue + 360.0 * 8, 360.0);
    hsl.s = std::min(1.0, hsl.s * saturation);
    hsl.l = std::min(1.0, hsl.l * lightness);
    double r = 0, g = 0, b = 0;
    FromHsl(hsl, r, g, b);
    return static_cast<std::uint32_t>(alpha) << 24 |
           static_cast<std::uint32_t>(ToChannel(r, alpha)) << 16 |
           static_cast<std::uint32_t>(ToChannel(g, alpha)) << 8 | ToChannel(b, alpha);
}

void WriteLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

RECT ClipToPicture(const DMDIBHelper& dib, const RECT* rect) {
    RECT whole{0, 0, dib.Width(), dib.Height()};
    return rect ? IntersectRects(*rect, whole) : whole;
}

void AdjustPixelsHSL(DMDIBHelper& dib, int hue, int saturation, int lightness, const RECT& area) {
    dib.Flush();
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            std::uint32_t& pixel = dib.Pixels()[static_cast<std::size_t>(y) * dib.Width() + x];
            pixel = AdjustPixel(pixel, hue, saturation / 100.0, lightness / 100.0);
        }
    }
    dib.MarkDirty();
}

void SetPixelsAlpha(DMDIBHelper& dib, BYTE alpha, const RECT& area) {
    dib.Flush();
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            std::uint32_t& pixel = dib.Pixels()[static_cast<std::size_t>(y) * dib.Width() + x];
            pixel = (pixel & 0x00FFFFFF) | static_cast<std::uint32_t>(alpha) << 24;
        }
    }
    dib.MarkDirty();
}

void BackupAlpha(const DMDIBHelper& dib, const RECT& area) {
    AlphaSaveArea& save = SaveArea();
    dib.Flush();
    std::size_t width = static_cast<std::size_t>(area.right - area.left);
    BYTE* bytes = save.Bytes(width * static_cast<std::size_t>(area.bottom - area.top));
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            *bytes++ = static_cast<BYTE>(
                dib.Pixels()[static_cast<std::size_t>(y) * dib.Width() + x] >> 24);
        }
    }
    save.area = area;
    save.saved = true;
}

void RestoreAlpha(DMDIBHelper& dib) {
    AlphaSaveArea& save = SaveArea();
    if (!save.saved) {
        return;
    }
    RECT area = IntersectRects(save.area, {0, 0, dib.Width(), dib.Height()});
    std::size_t width = static_cast<std::size_t>(save.area.right - save.area.left);
    const BYTE* bytes =
        save.Bytes(width * static_cast<std::size_t>(save.area.bottom - save.area.top));
    dib.Flush();
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            std::uint32_t& pixel = dib.Pixels()[static_cast<std::size_t>(y) * dib.Width() + x];
            BYTE alpha = bytes[(y - save.area.top) * width + (x - save.area.left)];
            pixel = (pixel & 0x00FFFFFF) | static_cast<std::uint32_t>(alpha) << 24;
        }
    }
    dib.MarkDirty();
    save.saved = false;
    std::vector<BYTE>().swap(save.heap);
}

// A 14-byte file header, the 40-byte information header of a top-down 32-bit picture and the
// pixels as they are.
bool WriteBmpFile(const DMDIBHelper& dib, const DMStringT& path) {
    std::ofstream out(plat::HostPathFromWindowsW(path), std::ios::binary);
    if (!out || !dib.Pixels()) {
        return false;
    }
    dib.Flush();
    auto pixelBytes = static_cast<std::uint32_t>(dib.ByteCount());
    out.write("BM", 2);
    WriteLittleEndian(out, pixelBytes + 40, 4);
    WriteLittleEndian(out, 0, 4);
    WriteLittleEndian(out, 54, 4);
    WriteLittleEndian(out, 40, 4);
    WriteLittleEndian(out, static_cast<std::uint32_t>(dib.Width()), 4);
    WriteLittleEndian(out, static_cast<std::uint32_t>(-dib.Height()), 4);
    WriteLittleEndian(out, 1, 2);
    WriteLittleEndian(out, 32, 2);
    for (int i = 0; i < 6; ++i) {
        WriteLittleEndian(out, 0, 4);
    }
    out.write(reinterpret_cast<const char*>(dib.Pixels()),
              static_cast<std::streamsize>(pixelBytes));
    return static_cast<bool>(out);
}

}  // namespace DM
