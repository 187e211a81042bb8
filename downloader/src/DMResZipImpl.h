// The launcher's resource pack: a ZIP archive, in a file or in a module resource of the
// executable (the skin archive, resource "ZIP" 106).
#pragma once

#include "DMRegType.h"
#include "DMResPackBase.h"
#include "DMZipArchive.h"

namespace DM {

using DMZipItemArray = DMResItemList;

// What LoadResPack reads its archive from; passed as its wParam.
struct DMResZipParam {
    BYTE kind;                    // 0: a file; any other value: a module resource
    const char* password;         // may be null
    const void* fileOrModule;     // kind 0: a wide file path (from the executable's folder
                                  // unless absolute); otherwise the module, null for the executable
    const wchar_t* resourceName;  // a resource id made with MAKEINTRESOURCEW
    const wchar_t* resourceType;
};

class DMResZipImpl : public DMResPackBase {
    DMDECLARE_CLASS_NAME(DMResZipImpl, DMResPackBase, L"DMResZipImpl", L"IDMRes", DMREG_Res)
public:
    // 1 when the descriptor is missing or the archive cannot be opened; otherwise the result
    // of reading the theme list.
    DMCode LoadResPack(WPARAM wParam, LPARAM lParam) override;
    // Themes come from the archive's theme list only.
    DMCode LoadTheme(const wchar_t* theme, const wchar_t* indexPath) override;

protected:
    std::optional<std::vector<char>> ReadIndexFile(const DMStringT& path) override;
    std::optional<std::size_t> ItemSize(const DMResItem& item) override;
    // Fails when the buffer is smaller than the item.
    bool ReadItem(const DMResItem& item, void* buffer, std::size_t size) override;

private:
    bool OpenArchive(const DMResZipParam& param);

    DMZipArchive m_archive;
};

}  // namespace DM
