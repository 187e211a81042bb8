#include "DMSkinPicture.h"

#include <vector>

#include "DMApp.h"
#include "DMRegType.h"
#include "IDMLog.h"
#include "IDMRes.h"

namespace DM {
namespace {

// Items that fit are read into a buffer on the stack.
constexpr std::size_t kSmallItem = 128;

}  // namespace

DMPictureRef SplitPictureRef(const DMStringT& text) {
    std::size_t colon = text.rfind(L':');
    if (colon == DMStringT::npos) {
        return {L"PNG", text};
    }
    return {text.substr(0, colon), text.substr(colon + 1)};
}

DMSmartPtrT<IDMBitmap> LoadPictureFromMemory(const BYTE* bytes, std::size_t size) {
    IDMRender* render = nullptr;
    if (DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) != DM_ECODE_OK) {
        return {};
    }
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMBitmap* created = nullptr;
    renderer->CreateBitmap(&created);
    auto bitmap = DMSmartPtrT<IDMBitmap>::Adopt(created);
    if (!bitmap || bitmap->LoadFromMemory(bytes, size) != DM_ECODE_OK) {
        return {};
    }
    return bitmap;
}

DMSmartPtrT<IDMBitmap> LoadPicture(const DMPictureRef& ref) {
    IDMRes* found = nullptr;
    if (DMApp::GetObjPtr()->GetDefRegObj(&found, DMREG_Res) != DM_ECODE_OK) {
        return {};
    }
    auto pack = DMSmartPtrT<IDMRes>::Adopt(found);
    std::size_t size = 0;
    if (pack->GetItemSize(ref.type.c_str(), ref.name.c_str(), size, nullptr) != DM_ECODE_OK) {
        LOG_ERR(L"[mid]DMImgListSkinImpl:OnAttributeGetImage获取%ls%ls失败\n", ref.type.c_str(),
                ref.name.c_str());
        return {};
    }
    BYTE small[kSmallItem];
    std::vector<BYTE> large;
    BYTE* buffer = small;
    if (size > kSmallItem) {
        large.resize(size);
        buffer = large.data();
    }
    if (pack->GetItemBuf(ref.type.c_str(), ref.name.c_str(), buffer, size, nullptr) !=
        DM_ECODE_OK) {
        return {};
    }
    return LoadPictureFromMemory(buffer, size);
}

}  // namespace DM
