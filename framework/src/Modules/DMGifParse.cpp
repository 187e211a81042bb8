#include "DMGifParse.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "plat/drive_map.h"

namespace DM {
namespace {

constexpr std::size_t kMinMemorySize = 381;
constexpr std::size_t kSignatureSize = 6;
constexpr BYTE kTrailer = ';';
constexpr BYTE kExtensionIntroducer = '!';
constexpr BYTE kImageSeparator = ',';
constexpr BYTE kPlainTextLabel = 0x01;
constexpr BYTE kGraphicControlLabel = 0xF9;
constexpr BYTE kCommentLabel = 0xFE;
constexpr BYTE kApplicationLabel = 0xFF;

// The application block of a loop count: block size 11, the name, sub-block size 3, id 1.
constexpr BYTE kNetscapeBlock[] = {11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1};

// Bytes of a colour table of 2^(bits 0 to 2 + 1) entries.
std::size_t ColorTableBytes(BYTE packed) {
    return 3 * (std::size_t{1} << ((packed & 0x07) + 1));
}

}  // namespace

// Reads the picture's bytes front to back; every read is checked against the end.
class DMGifParse::BlockCursor {
public:
    explicit BlockCursor(std::span<const BYTE> bytes) : m_bytes(bytes) {}

    bool AtEnd() const { return m_position >= m_bytes.size(); }
    bool Has(std::size_t count) const { return m_bytes.size() - m_position >= count; }
    // The byte `offset` places ahead, which Has(offset + 1) vouches for.
    BYTE Peek(std::size_t offset) const { return m_bytes[m_position + offset]; }
    UINT PeekWord(std::size_t offset) const { return Peek(offset) | Peek(offset + 1) << 8; }
    bool Matches(std::span<const BYTE> expected) const {
        return Has(expected.size()) &&
               std::equal(expected.begin(), expected.end(), m_bytes.begin() + m_position);
    }

    bool Skip(std::size_t count) {
        if (!Has(count)) {
            return false;
        }
        m_position += count;
        return true;
    }
    bool Read(BYTE& value) {
        if (!Has(1)) {
            return false;
        }
        value = m_bytes[m_position++];
        return true;
    }
    bool ReadWord(UINT& value) {
        if (!Has(2)) {
            return false;
        }
        value = PeekWord(0);
        m_position += 2;
        return true;
    }
    // Data sub-blocks, each a size byte and that many bytes, up to the 0 that ends them.
    bool SkipSubBlocks() {
        BYTE size = 0;
        do {
            if (!Read(size) || !Skip(size)) {
                return false;
            }
        } while (size != 0);
        return true;
    }

private:
    std::span<const BYTE> m_bytes;
    std::size_t m_position = 0;
};

bool DMGifParse::LoadFromMemory(const BYTE* bytes, std::size_t size) {
    if (!bytes || size < kMinMemorySize) {
        return false;
    }
    return Parse(std::span<const BYTE>(bytes, size));
}

bool DMGifParse::LoadFromFile(const wchar_t* path) {
    if (!path) {
        return false;
    }
    std::ifstream file(plat::HostPathFromWindowsW(path), std::ios::binary);
    if (!file) {
        return false;
    }
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return Parse(bytes);
}

// The block walk: a 0 byte between blocks is skipped, the trailer or the end of the data ends
// it, and a byte that starts no block marks the parse failed without stopping it. A block cut
// off by the end of the data fails the parse.
bool DMGifParse::Parse(std::span<const BYTE> bytes) {
    BlockCursor cursor(bytes);
    static constexpr BYTE kSignature[kSignatureSize] = {'G', 'I', 'F', '8', '9', 'a'};
    if (!cursor.Matches(kSignature) || !cursor.Skip(kSignatureSize) || !ReadLogicalScreen(cursor)) {
        return false;
    }
    bool understood = true;
    BYTE introducer = 0;
    while (cursor.Read(introducer) && introducer != kTrailer) {
        if (introducer == kExtensionIntroducer) {
            if (!ReadExtension(cursor)) {
                return false;
            }
        } else if (introducer == kImageSeparator) {
            if (!ReadImage(cursor)) {
                return false;
            }
        } else if (introducer != 0) {
            understood = false;
        }
    }
    return understood;
}

bool DMGifParse::ReadLogicalScreen(BlockCursor& cursor) {
    BYTE packed = 0;
    if (!cursor.ReadWord(m_screen.width) || !cursor.ReadWord(m_screen.height) ||
        !cursor.Read(packed) || !cursor.Read(m_screen.backgroundIndex) ||
        !cursor.Read(m_screen.pixelAspectRatio)) {
        return false;
    }
    m_screen.globalColorTable = packed & 0x80;
    m_screen.colorResolution = ((packed >> 4) & 0x07) + 1;
    m_screen.sorted = packed & 0x08;
    m_screen.globalColorTableSize = 1u << ((packed & 0x07) + 1);
    return !m_screen.globalColorTable || cursor.Skip(ColorTableBytes(packed));
}

// An extension: the label, then data sub-blocks.
bool DMGifParse::ReadExtension(BlockCursor& cursor) {
    BYTE label = 0;
    if (!cursor.Read(label)) {
        return false;
    }
    if (label == kGraphicControlLabel) {
        ReadGraphicControl(cursor);
    } else if ((label == kPlainTextLabel || label == kCommentLabel || label == kApplicationLabel) &&
               !m_bLoopFound) {
        ReadLoopCount(cursor);
    }
    return cursor.SkipSubBlocks();
}

// Block size, packed byte (disposal in bits 2 to 4, user input bit 1, transparency bit 0),
// delay time, transparent index; kept for the next image.
void DMGifParse::ReadGraphicControl(const BlockCursor& cursor) {
    if (!cursor.Has(5)) {
        return;
    }
    BYTE packed = cursor.Peek(1);
    m_nextControl.present = true;
    m_nextControl.disposal = (packed >> 2) & 0x07;
    m_nextControl.userInput = packed & 0x02;
    m_nextControl.transparency = packed & 0x01;
    m_nextControl.delay = cursor.PeekWord(2);
    m_nextControl.transparentIndex = cursor.Peek(4);
}

void DMGifParse::ReadLoopCount(const BlockCursor& cursor) {
    if (cursor.Matches(kNetscapeBlock) && cursor.Has(sizeof(kNetscapeBlock) + 2)) {
        m_uLoopCount = cursor.PeekWord(sizeof(kNetscapeBlock));
        m_bLoopFound = true;
    }
}

// Left, top, width, height, the packed byte (a local colour table in bit 7), the table, then
// the LZW code size and the image data sub-blocks.
bool DMGifParse::ReadImage(BlockCursor& cursor) {
    DMGifFrameRecord frame;
    BYTE packed = 0;
    if (!cursor.ReadWord(frame.left) || !cursor.ReadWord(frame.top) ||
        !cursor.ReadWord(frame.width) || !cursor.ReadWord(frame.height) || !cursor.Read(packed)) {
        return false;
    }
    if ((packed & 0x80) && !cursor.Skip(ColorTableBytes(packed))) {
        return false;
    }
    if (!cursor.Skip(1) || !cursor.SkipSubBlocks()) {
        return false;
    }
    frame.control = std::exchange(m_nextControl, DMGifGraphicControl{});
    m_frames.push_back(frame);
    return true;
}

}  // namespace DM
