// A reader of the block structure of GIF89a files: the logical screen, one record per image
// with the graphic control extension that came before it, and the NETSCAPE2.0 loop count. The
// image decoder takes frame times and the loop count from it when the codec has none.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "DMDef.h"
#include "DMRefNum.h"

namespace DM {

struct DMGifLogicalScreen {
    UINT width = 0;
    UINT height = 0;
    bool globalColorTable = false;
    UINT colorResolution = 0;  // bits per primary colour
    bool sorted = false;
    UINT globalColorTableSize = 0;  // entries
    BYTE backgroundIndex = 0;
    BYTE pixelAspectRatio = 0;
};

struct DMGifGraphicControl {
    bool present = false;
    bool userInput = false;
    bool transparency = false;
    BYTE disposal = 0;
    UINT delay = 0;  // hundredths of a second
    BYTE transparentIndex = 0;
};

struct DMGifFrameRecord {
    UINT left = 0;
    UINT top = 0;
    UINT width = 0;
    UINT height = 0;
    DMGifGraphicControl control;
};

class DMGifParse : public DMRefNum {
public:
    // Reads a GIF89a picture of more than 380 bytes. True when every block was understood; the
    // records read so far stay readable either way.
    bool LoadFromMemory(const BYTE* bytes, std::size_t size);
    // The same from a file named by a Windows path, of any size.
    bool LoadFromFile(const wchar_t* path);

    const DMGifLogicalScreen& GetLogicalScreen() const { return m_screen; }
    const std::vector<DMGifFrameRecord>& GetFrames() const { return m_frames; }
    // Whether a NETSCAPE2.0 block was found, and its loop count (0: endless).
    bool HasLoopCount() const { return m_bLoopFound; }
    UINT GetLoopCount() const { return m_uLoopCount; }

private:
    class BlockCursor;

    bool Parse(std::span<const BYTE> bytes);
    bool ReadLogicalScreen(BlockCursor& cursor);
    bool ReadExtension(BlockCursor& cursor);
    void ReadGraphicControl(const BlockCursor& cursor);
    void ReadLoopCount(const BlockCursor& cursor);
    bool ReadImage(BlockCursor& cursor);

    DMGifLogicalScreen m_screen;
    std::vector<DMGifFrameRecord> m_frames;
    DMGifGraphicControl m_nextControl;
    bool m_bLoopFound = false;
    UINT m_uLoopCount = 0;
};

}  // namespace DM
