// JPEG through libjpeg-turbo, which writes BGRA rows itself (alpha 255, so nothing to
// premultiply). libjpeg reports fatal errors through a callback that must not return: it jumps
// back to the step that called the library, and those steps hold no C++ objects.
#include <csetjmp>
#include <cstdio>

#include "codecs.h"
#include "pixels.h"

// After the platform's headers: libjpeg defines TRUE and FALSE as macros.
#include <jpeglib.h>

namespace plat {
namespace {

struct JpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorJump*>(info->err)->jump, 1);
}

// Warnings (corrupt but readable data) are not printed; the picture decodes as far as it can.
void IgnoreMessage(j_common_ptr) {}

class JpegReader {
public:
    JpegReader() {
        m_info.err = jpeg_std_error(&m_error.manager);
        m_error.manager.error_exit = &JumpOnError;
        m_error.manager.output_message = &IgnoreMessage;
        jpeg_create_decompress(&m_info);
    }
    ~JpegReader() { jpeg_destroy_decompress(&m_info); }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // The header, with output set to BGRA; false for data that is no JPEG.
    bool ReadHeader(std::span<const BYTE> bytes) {
        if (setjmp(m_error.jump)) {
            return false;
        }
        jpeg_mem_src(&m_info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&m_info, TRUE);
        m_info.out_color_space = JCS_EXT_BGRA;
        return true;
    }
    JDIMENSION Width() const { return m_info.image_width; }
    JDIMENSION Height() const { return m_info.image_height; }

    // Every row into `pixels`, which holds Width() × Height() pixels.
    bool ReadPixels(BYTE* pixels) {
        if (setjmp(m_error.jump)) {
            return false;
        }
        jpeg_start_decompress(&m_info);
        while (m_info.output_scanline < m_info.output_height) {
            JSAMPROW row = pixels + m_info.output_scanline * m_info.output_width * kBytesPerPixel;
            if (jpeg_read_scanlines(&m_info, &row, 1) != 1) {
                return false;
            }
        }
        jpeg_finish_decompress(&m_info);
        return true;
    }

private:
    jpeg_decompress_struct m_info{};
    JpegErrorJump m_error{};
};

}  // namespace

HRESULT DecodeJpeg(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder) {
    JpegReader reader;
    if (!reader.ReadHeader(bytes)) {
        return WINCODEC_ERR_BADIMAGE;
    }
    if (!IsDecodableSize(reader.Width(), reader.Height())) {
        return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    }
    std::vector<BYTE> pixels(std::uint64_t{reader.Width()} * reader.Height() * kBytesPerPixel);
    if (!reader.ReadPixels(pixels.data())) {
        return WINCODEC_ERR_BADIMAGE;
    }
    decoder = SingleFrameDecoder(reader.Width(), reader.Height(), std::move(pixels),
                                 MetadataQueryReader{});
    return S_OK;
}

}  // namespace plat
