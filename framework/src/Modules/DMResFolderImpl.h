// The framework's default resource pack: loose files below a folder, named by the same index
// files as in a skin archive.
#pragma once

#include "DMRegType.h"
#include "DMResPackBase.h"

namespace DM {

using DMResFolderItem = DMResItemList;

class DMResFolderImpl : public DMResPackBase {
    DMDECLARE_CLASS_NAME(DMResFolderImpl, DMResPackBase, L"DMResFolderImpl", L"IDMRes", DMREG_Res)
public:
    // wParam: the folder, a wide Windows path relative to the executable's folder unless
    // absolute. 1 when its layout index is missing, else the result of reading the theme list.
    DMCode LoadResPack(WPARAM wParam, LPARAM lParam) override;
    DMCode LoadTheme(const wchar_t* theme, const wchar_t* indexPath) override;

protected:
    std::optional<std::vector<char>> ReadIndexFile(const DMStringT& path) override;
    std::optional<std::size_t> ItemSize(const DMResItem& item) override;
    bool ReadItem(const DMResItem& item, void* buffer, std::size_t size) override;

private:
    // A pack path below the root; absolute paths stay as they are.
    DMStringT FullPath(const DMStringT& path) const;

    DMStringT m_strRoot;
};

}  // namespace DM
