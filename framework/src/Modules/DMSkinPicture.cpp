#include "DMSkinPicture.h"

#include "DMApp.h"
#include "DMItemBytes.h"
#include "DMRegType.h"
#include "IDMLog.h"
#include "IDMRes.h"

namespace DM {
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
    DMItemBytes bytes;
    if (!bytes.Read(*pack, ref.type.c_str(), ref.name.c_str())) {
        LOG_ERR(L"[mid]DMImgListSkinImpl:OnAttributeGetImage获取%ls%ls失败\n", ref.type.c_str(),
                ref.name.c_str());
        return {};
    }
    return LoadPictureFromMemory(reinterpret_cast<const BYTE*>(bytes.Data()), bytes.Size());
}

}  // namespace DM
