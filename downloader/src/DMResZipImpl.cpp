#include "DMResZipImpl.h"

#include <cstring>

#include "DMHelper.h"
#include "plat/resources.h"

namespace DM {

bool DMResZipImpl::OpenArchive(const DMResZipParam& param) {
    if (param.kind == 0) {
        wchar_t path[DM_MAX_PATH];
        return param.fileOrModule &&
               GetRootFullPath(static_cast<const wchar_t*>(param.fileOrModule), path,
                               DM_MAX_PATH) &&
               m_archive.OpenFile(path);
    }
    auto module = static_cast<plat::HMODULE>(const_cast<void*>(param.fileOrModule));
    plat::HRSRC resource = plat::FindResourceW(module, param.resourceName, param.resourceType);
    const void* data = plat::LockResource(plat::LoadResource(module, resource));
    return data && m_archive.OpenMemory(data, plat::SizeofResource(module, resource));
}

DMCode DMResZipImpl::LoadResPack(WPARAM wParam, LPARAM) {
    const auto* param = reinterpret_cast<const DMResZipParam*>(wParam);
    if (!param || !OpenArchive(*param)) {
        return DM_ECODE_FAIL;
    }
    if (param->password) {
        m_archive.SetPassword(param->password);
    }
    return LoadIndexes();
}

DMCode DMResZipImpl::LoadTheme(const wchar_t*, const wchar_t*) {
    return DM_ECODE_NOTIMPL;
}

std::optional<std::vector<char>> DMResZipImpl::ReadIndexFile(const DMStringT& path) {
    std::optional<std::vector<unsigned char>> bytes = m_archive.ReadEntry(path);
    if (!bytes) {
        return std::nullopt;
    }
    return std::vector<char>(bytes->begin(), bytes->end());
}

std::optional<std::size_t> DMResZipImpl::ItemSize(const DMResItem& item) {
    return m_archive.EntrySize(item.path);
}

bool DMResZipImpl::ReadItem(const DMResItem& item, void* buffer, std::size_t size) {
    std::optional<std::vector<unsigned char>> bytes = m_archive.ReadEntry(item.path);
    if (!bytes || size < bytes->size()) {
        return false;
    }
    std::memcpy(buffer, bytes->data(), bytes->size());
    return true;
}

}  // namespace DM
