#include "DMImgDecoderImpl.h"

#include <algorithm>
#include <cstring>
#include <variant>

#include "DMGifParse.h"
#include "DMHelper.h"
#include "DMImgFrameImpl.h"
#include "DMSmartPtrT.h"
#include "IDMLog.h"

namespace DM {
namespace {

constexpr UINT kMillisecondsPerDelayUnit = 10;

// The byte vector the query answers, or null when the item is missing or of another type.
const std::vector<BYTE>* QueryBytes(const plat::MetadataQueryReader& reader, const wchar_t* name,
                                    plat::MetadataValue& value) {
    if (plat::FAILED(reader.GetMetadataByName(name, value))) {
        return nullptr;
    }
    return std::get_if<std::vector<BYTE>>(&value);
}

bool IsLoopApplication(const std::vector<BYTE>& identifier) {
    static constexpr char kNetscape[] = "NETSCAPE2.0";
    static constexpr char kAnimExts[] = "ANIMEXTS1.0";
    constexpr std::size_t kLength = sizeof(kNetscape) - 1;
    return identifier.size() == kLength &&
           (std::memcmp(identifier.data(), kNetscape, kLength) == 0 ||
            std::memcmp(identifier.data(), kAnimExts, kLength) == 0);
}

}  // namespace

void DMImgFrameArray::PreArrayObjRemove(DMImgFrameImpl* const& frame) {
    frame->Release();
}

DMCode DMImgDecoderImpl::LoadFromMemory(const void* bytes, std::size_t size) {
    std::unique_ptr<plat::BitmapDecoder> decoder;
    if (!bytes || plat::FAILED(plat::CreateDecoderFromMemory(bytes, size, decoder))) {
        return DM_ECODE_FAIL;
    }
    return LoadFrames(*decoder, L"DM::DMImgDecoderImpl::LoadFromMemory", [&](DMGifParse& gif) {
        return gif.LoadFromMemory(static_cast<const BYTE*>(bytes), size);
    });
}

DMCode DMImgDecoderImpl::LoadFromFile(const wchar_t* path) {
    if (!path) {
        return DM_ECODE_FAIL;
    }
    wchar_t full[DM_MAX_PATH];
    if (!GetRootFullPath(path, full, DM_MAX_PATH)) {
        return DM_ECODE_FAIL;
    }
    DMStringT fullPath = full;
    std::unique_ptr<plat::BitmapDecoder> decoder;
    if (!FileIsExist(fullPath) ||
        plat::FAILED(plat::CreateDecoderFromFilename(fullPath.c_str(), decoder))) {
        return DM_ECODE_FAIL;
    }
    return LoadFrames(*decoder, L"DM::DMImgDecoderImpl::LoadFromFile",
                      [&](DMGifParse& gif) { return gif.LoadFromFile(fullPath.c_str()); });
}

// Several frames without display times take the times and the loop count of the GIF reader,
// which `readGif` fills from the same picture.
DMCode DMImgDecoderImpl::LoadFrames(plat::BitmapDecoder& decoder, const wchar_t* function,
                                    const std::function<bool(DMGifParse&)>& readGif) {
    std::size_t first = m_frames.GetCount();
    if (!ReadFrames(decoder)) {
        return DM_ECODE_FAIL;
    }
    if (LacksFrameTimes(first)) {
        DMLog(DMLOG_ERR, function, L"" __FILE__, __LINE__, L"[mid]多帧的延迟时间获取失败\n");
        DMSmartPtrT<DMGifParse> gif;
        gif.Attach(new DMGifParse);
        if (readGif(*gif)) {
            TakeTimesFromGif(*gif, first);
        }
    }
    return DM_ECODE_OK;
}

DMCode DMImgDecoderImpl::GetFrameCount(UINT& count) {
    count = m_uFrameCount;
    return DM_ECODE_OK;
}

DMCode DMImgDecoderImpl::GetTotalLoopCount(int& count) {
    count = m_iLoopCount;
    return DM_ECODE_OK;
}

DMCode DMImgDecoderImpl::GetFrame(UINT index, IDMImgFrame** frame) {
    if (!frame || index >= m_frames.GetCount()) {
        return DM_ECODE_FAIL;
    }
    DMImgFrameImpl* found = m_frames.GetObj(index);
    found->AddRef();
    *frame = found;
    return DM_ECODE_OK;
}

// Only animations carry display times; a frame that the codec cannot hand out is skipped. A
// picture of which no frame could be taken is a failure, not an empty success.
bool DMImgDecoderImpl::ReadFrames(const plat::BitmapDecoder& decoder) {
    UINT count = 0;
    if (plat::FAILED(decoder.GetFrameCount(count)) || count == 0) {
        return false;
    }
    m_iLoopCount = count > 1 ? QueryLoopCount(decoder) : -1;
    std::size_t before = m_frames.GetCount();
    for (UINT i = 0; i < count; ++i) {
        std::shared_ptr<const plat::BitmapFrame> source;
        if (plat::FAILED(decoder.GetFrame(i, source))) {
            continue;
        }
        UINT delay = count > 1 ? GetFrameDelay(*source) : 0;
        m_frames.AddObj(new DMImgFrameImpl(std::move(source), delay));
    }
    m_uFrameCount = static_cast<UINT>(m_frames.GetCount());
    return m_frames.GetCount() > before;
}

// The count of a NETSCAPE2.0 or ANIMEXTS1.0 extension whose data is the loop sub-block (id 1)
// says how often the animation repeats, so it plays one time more; 0 repeats endlessly.
int DMImgDecoderImpl::QueryLoopCount(const plat::BitmapDecoder& decoder) const {
    const plat::MetadataQueryReader* reader = nullptr;
    if (plat::FAILED(decoder.GetMetadataQueryReader(reader))) {
        return -1;
    }
    plat::MetadataValue application;
    const std::vector<BYTE>* identifier = QueryBytes(*reader, L"/appext/application", application);
    if (!identifier || !IsLoopApplication(*identifier)) {
        return 1;
    }
    plat::MetadataValue data;
    const std::vector<BYTE>* blocks = QueryBytes(*reader, L"/appext/data", data);
    if (!blocks || blocks->size() < 4 || (*blocks)[0] == 0 || (*blocks)[1] != 1) {
        return 1;
    }
    int repeats = (*blocks)[2] | (*blocks)[3] << 8;
    return repeats == 0 ? -1 : repeats + 1;
}

UINT DMImgDecoderImpl::GetFrameDelay(const plat::BitmapFrame& frame) const {
    const plat::MetadataQueryReader* reader = nullptr;
    plat::HRESULT result = frame.GetMetadataQueryReader(reader);
    if (plat::FAILED(result)) {
        LOG_ERR(L"[mid]-GetMetadataQueryReader:0x%08x\n", static_cast<unsigned>(result));
        return 0;
    }
    plat::MetadataValue delay;
    if (plat::FAILED(reader->GetMetadataByName(L"/grctlext/Delay", delay))) {
        return 0;
    }
    const plat::WORD* hundredths = std::get_if<plat::WORD>(&delay);
    return hundredths ? *hundredths * kMillisecondsPerDelayUnit : 0;
}

bool DMImgDecoderImpl::LacksFrameTimes(std::size_t first) const {
    std::size_t count = m_frames.GetCount();
    if (count - first < 2) {
        return false;
    }
    for (std::size_t i = first; i < count; ++i) {
        UINT delay = 0;
        m_frames.GetObj(i)->GetDelay(delay);
        if (delay != 0) {
            return false;
        }
    }
    return true;
}

// The GIF reader's loop count is the count as stored, without the one play more that the
// codec's count gets: 0 is endless, and a GIF without a loop block plays once.
void DMImgDecoderImpl::TakeTimesFromGif(const DMGifParse& gif, std::size_t first) {
    const std::vector<DMGifFrameRecord>& records = gif.GetFrames();
    std::size_t count = std::min(m_frames.GetCount() - first, records.size());
    for (std::size_t i = 0; i < count; ++i) {
        m_frames.GetObj(first + i)->SetDelay(records[i].control.delay * kMillisecondsPerDelayUnit);
    }
    if (!gif.HasLoopCount()) {
        m_iLoopCount = 1;
    } else {
        m_iLoopCount = gif.GetLoopCount() == 0 ? -1 : static_cast<int>(gif.GetLoopCount());
    }
}

}  // namespace DM
