// GIF through giflib's record reader: the images are read row by row onto the logical screen
// (never a whole image in memory at once, so a forged image size costs nothing), and each
// composed screen becomes a frame. The graphic control extension before an image gives the
// frame its delay and disposal; the application extension is the picture's metadata.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "codecs.h"
#include "gif_canvas.h"
#include "pixels.h"

namespace plat {
namespace {

struct MemorySource {
    std::span<const BYTE> bytes;
    std::size_t offset = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* source = static_cast<MemorySource*>(gif->UserData);
    std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(length),
                                              source->bytes.size() - source->offset);
    std::memcpy(buffer, source->bytes.data() + source->offset, count);
    source->offset += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// The rows of an image in the order the file stores them: interlaced images in four passes.
struct RowPass {
    int first;
    int step;
};
constexpr RowPass kSequentialRows[] = {{0, 1}};
constexpr RowPass kInterlacedRows[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

// An application extension: its 11-byte identifier and its data sub-blocks, each as its size
// byte and its bytes.
struct ApplicationExtension {
    std::vector<BYTE> identifier;
    std::vector<BYTE> data;

    bool IsLoopBlock() const {
        std::string_view name(reinterpret_cast<const char*>(identifier.data()), identifier.size());
        return name == "NETSCAPE2.0" || name == "ANIMEXTS1.0";
    }
};

class GifReader {
public:
    explicit GifReader(GifFileType& gif) : m_gif(gif) {}

    // Reads the records up to the trailer. Frames complete before a failure stay readable.
    HRESULT ReadRecords();
    bool HasFrames() const { return !m_frames.empty(); }
    std::unique_ptr<BitmapDecoder> TakeDecoder();

private:
    HRESULT ReadExtension();
    void KeepApplicationExtension(ApplicationExtension extension);
    HRESULT ReadImage();
    HRESULT StartCanvas(const GifImageDesc& image);
    HRESULT DrawImageRows(const GifImageDesc& image, int transparentIndex);
    HRESULT SkipImageData();
    void AddFrame(const std::optional<GraphicsControlBlock>& control);

    GifFileType& m_gif;
    std::optional<GraphicsControlBlock> m_nextControl;
    std::optional<ApplicationExtension> m_application;
    std::optional<GifCanvas> m_canvas;
    std::vector<std::shared_ptr<const BitmapFrame>> m_frames;
    std::uint64_t m_frameBytes = 0;
};

HRESULT GifReader::ReadRecords() {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(&m_gif, &type) == GIF_ERROR) {
            return WINCODEC_ERR_BADIMAGE;
        }
        HRESULT result = WINCODEC_ERR_BADIMAGE;
        switch (type) {
            case EXTENSION_RECORD_TYPE:
                result = ReadExtension();
                break;
            case IMAGE_DESC_RECORD_TYPE:
                result = ReadImage();
                break;
            case TERMINATE_RECORD_TYPE:
                return S_OK;
            default:
                break;
        }
        if (FAILED(result)) {
            return result;
        }
    }
}

HRESULT GifReader::ReadExtension() {
    int label = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(&m_gif, &label, &block) == GIF_ERROR) {
        return WINCODEC_ERR_BADIMAGE;
    }
    GraphicsControlBlock control;
    if (label == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
        m_nextControl = control;
    }
    std::optional<ApplicationExtension> application;
    if (label == APPLICATION_EXT_FUNC_CODE && block) {
        application.emplace().identifier.assign(block + 1, block + 1 + block[0]);
    }
    while (block) {
        if (DGifGetExtensionNext(&m_gif, &block) == GIF_ERROR) {
            return WINCODEC_ERR_BADIMAGE;
        }
        if (block && application) {
            application->data.insert(application->data.end(), block, block + 1 + block[0]);
        }
    }
    if (application) {
        KeepApplicationExtension(std::move(*application));
    }
    return S_OK;
}

// The first application extension is the picture's, unless a later one holds the loop count.
void GifReader::KeepApplicationExtension(ApplicationExtension extension) {
    if (!m_application || (!m_application->IsLoopBlock() && extension.IsLoopBlock())) {
        m_application = std::move(extension);
    }
}

HRESULT GifReader::ReadImage() {
    if (DGifGetImageDesc(&m_gif) == GIF_ERROR) {
        return WINCODEC_ERR_BADIMAGE;
    }
    std::optional<GraphicsControlBlock> control = std::exchange(m_nextControl, std::nullopt);
    const GifImageDesc& image = m_gif.Image;
    if (!m_canvas) {
        HRESULT started = StartCanvas(image);
        if (FAILED(started)) {
            return started;
        }
    }
    if (m_frameBytes + m_canvas->Pixels().size() > kMaxPictureBytes) {
        return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    }
    m_canvas->BeginImage({image.Left, image.Top, image.Width, image.Height},
                         control ? control->DisposalMode : DISPOSAL_UNSPECIFIED);
    HRESULT drawn =
        image.Width > 0 && image.Height > 0
            ? DrawImageRows(image, control ? control->TransparentColor : NO_TRANSPARENT_COLOR)
            : SkipImageData();
    if (FAILED(drawn)) {
        return drawn;
    }
    AddFrame(control);
    m_canvas->EndImage();
    return S_OK;
}

// The logical screen; a screen given as 0 wide or high takes the first image's extent.
HRESULT GifReader::StartCanvas(const GifImageDesc& image) {
    std::uint64_t width = m_gif.SWidth > 0 ? m_gif.SWidth : image.Left + image.Width;
    std::uint64_t height = m_gif.SHeight > 0 ? m_gif.SHeight : image.Top + image.Height;
    if (!IsDecodableSize(width, height)) {
        return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    }
    m_canvas.emplace(static_cast<UINT>(width), static_cast<UINT>(height));
    return S_OK;
}

HRESULT GifReader::DrawImageRows(const GifImageDesc& image, int transparentIndex) {
    const ColorMapObject* colors = image.ColorMap ? image.ColorMap : m_gif.SColorMap;
    std::span<const RowPass> passes =
        image.Interlace ? std::span<const RowPass>(kInterlacedRows) : kSequentialRows;
    std::vector<GifPixelType> row(static_cast<std::size_t>(image.Width));
    for (const RowPass& pass : passes) {
        for (int y = pass.first; y < image.Height; y += pass.step) {
            if (DGifGetLine(&m_gif, row.data(), image.Width) == GIF_ERROR) {
                return WINCODEC_ERR_BADIMAGE;
            }
            m_canvas->DrawRow(y, row, colors, transparentIndex);
        }
    }
    return S_OK;
}

// An image without pixels still carries its (empty) data sub-blocks.
HRESULT GifReader::SkipImageData() {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(&m_gif, &codeSize, &block) == GIF_ERROR) {
        return WINCODEC_ERR_BADIMAGE;
    }
    while (block) {
        if (DGifGetCodeNext(&m_gif, &block) == GIF_ERROR) {
            return WINCODEC_ERR_BADIMAGE;
        }
    }
    return S_OK;
}

void GifReader::AddFrame(const std::optional<GraphicsControlBlock>& control) {
    MetadataQueryReader metadata;
    if (control) {
        metadata.SetMetadataByName(L"/grctlext/Delay", static_cast<WORD>(control->DelayTime));
    }
    m_frames.push_back(std::make_shared<BitmapFrame>(m_canvas->Width(), m_canvas->Height(),
                                                     m_canvas->Pixels(), std::move(metadata)));
    m_frameBytes += m_canvas->Pixels().size();
}

std::unique_ptr<BitmapDecoder> GifReader::TakeDecoder() {
    MetadataQueryReader metadata;
    if (m_application) {
        metadata.SetMetadataByName(L"/appext/application", std::move(m_application->identifier));
        metadata.SetMetadataByName(L"/appext/data", std::move(m_application->data));
    }
    return std::make_unique<BitmapDecoder>(std::move(m_frames), std::move(metadata));
}

}  // namespace

HRESULT DecodeGif(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder) {
    MemorySource source{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, &ReadFromMemory, &error));
    if (!gif) {
        return WINCODEC_ERR_BADIMAGE;
    }
    GifReader reader(*gif);
    HRESULT result = reader.ReadRecords();
    if (!reader.HasFrames()) {
        return FAILED(result) ? result : WINCODEC_ERR_BADIMAGE;
    }
    decoder = reader.TakeDecoder();
    return S_OK;
}

}  // namespace plat
