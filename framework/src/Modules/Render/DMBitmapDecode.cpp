// Bitmaps from decoded pictures: the first frame of what the default image decoder reads.
#include "DMApp.h"
#include "DMBitmapImpl.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMImgDecoder.h"

namespace DM {
namespace {

template <class Load>
DMCode DecodeFirstFrame(DMBitmapImpl& bitmap, Load load) {
    IDMImgDecoder* created = nullptr;
    DMApp* app = DMApp::GetObjPtr();
    if (!app || app->CreateRegObj(&created, nullptr, DMREG_ImgDecoder) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    auto decoder = DMSmartPtrT<IDMImgDecoder>::Adopt(created);
    IDMImgFrame* frame = nullptr;
    if (load(*decoder) != DM_ECODE_OK || decoder->GetFrame(0, &frame) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    auto owned = DMSmartPtrT<IDMImgFrame>::Adopt(frame);
    return bitmap.InitFromFrame(owned.get());
}

}  // namespace

DMCode DMBitmapImpl::InitFromFrame(IDMImgFrame* frame) {
    UINT width = 0;
    UINT height = 0;
    if (!frame || frame->GetSize(width, height) != DM_ECODE_OK ||
        Init(static_cast<int>(width), static_cast<int>(height), nullptr) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    m_dib.Flush();
    DMCode code = frame->CopyPixels(m_dib.Pixels(), static_cast<UINT>(m_dib.ByteCount()),
                                    static_cast<UINT>(m_dib.RowBytes()), nullptr);
    m_dib.MarkDirty();
    return code == DM_ECODE_OK ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMBitmapImpl::LoadFromFile(const wchar_t* path) {
    return DecodeFirstFrame(*this,
                            [path](IDMImgDecoder& decoder) { return decoder.LoadFromFile(path); });
}

DMCode DMBitmapImpl::LoadFromMemory(const void* bytes, std::size_t length) {
    return DecodeFirstFrame(*this, [bytes, length](IDMImgDecoder& decoder) {
        return decoder.LoadFromMemory(bytes, length);
    });
}

}  // namespace DM
