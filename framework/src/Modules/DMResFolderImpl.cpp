#include "DMResFolderImpl.h"

#include <cstring>

#include "DMHelper.h"

namespace DM {

DMStringT DMResFolderImpl::FullPath(const DMStringT& path) const {
    // The index paths start with a backslash that means the pack root, not the drive's root.
    DMStringT relative = !path.empty() && path[0] == L'\\' ? path.substr(1) : path;
    return CombinePath(m_strRoot, relative);
}

DMCode DMResFolderImpl::LoadResPack(WPARAM wParam, LPARAM) {
    const auto* folder = reinterpret_cast<const wchar_t*>(wParam);
    wchar_t root[DM_MAX_PATH];
    if (!folder || !GetRootFullPath(folder, root, DM_MAX_PATH)) {
        return DM_ECODE_FAIL;
    }
    m_strRoot = root;
    DMStringT layoutIndex = FullPath(kLayoutIndex);
    if (!FileIsExist(layoutIndex)) {
        Diagnose(L"LoadResPack", layoutIndex + L"文件不存在");
        return DM_ECODE_FAIL;
    }
    return LoadIndexes();
}

DMCode DMResFolderImpl::LoadTheme(const wchar_t* theme, const wchar_t* indexPath) {
    wchar_t path[DM_MAX_PATH];
    if (!theme || !indexPath || !GetRootFullPath(indexPath, path, DM_MAX_PATH)) {
        return DM_ECODE_FAIL;
    }
    DMSmartPtrT<DMResItemList> list = ParseIndex(path, theme, true);
    return list && AddTheme(list) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

std::optional<std::vector<char>> DMResFolderImpl::ReadIndexFile(const DMStringT& path) {
    return ReadFileBytes(FullPath(path));
}

std::optional<std::size_t> DMResFolderImpl::ItemSize(const DMResItem& item) {
    std::optional<std::size_t> size = GetFileSizeW(FullPath(item.path));
    if (size == std::size_t{0}) {
        return std::nullopt;
    }
    return size;
}

// Reads at most `size` bytes: a short buffer gets the start of the file.
bool DMResFolderImpl::ReadItem(const DMResItem& item, void* buffer, std::size_t size) {
    std::optional<std::vector<char>> bytes = ReadFileBytes(FullPath(item.path), size);
    if (!bytes) {
        return false;
    }
    std::memcpy(buffer, bytes->data(), bytes->size());
    return true;
}

}  // namespace DM
