// A resource pack: the items (layouts, skin files, pictures) that the framework loads by type
// and name, grouped in themes.
#pragma once

#include <cstddef>

#include "DMBase.h"

namespace DM {

class IDMRes : public DMBase {
public:
    virtual DMCode LoadResPack(WPARAM wParam, LPARAM lParam) = 0;
    // `theme` may be null: the current theme.
    virtual DMCode IsItemExists(const wchar_t* type, const wchar_t* name, const wchar_t* theme) = 0;
    virtual DMCode GetItemSize(const wchar_t* type, const wchar_t* name, std::size_t& size,
                               const wchar_t* theme) = 0;
    virtual DMCode GetItemBuf(const wchar_t* type, const wchar_t* name, void* buffer,
                              std::size_t size, const wchar_t* theme) = 0;
    virtual DMCode LoadTheme(const wchar_t* theme, const wchar_t* indexPath) = 0;
    // `previous` may be null.
    virtual DMCode SetCurTheme(const wchar_t* theme, DMStringT* previous) = 0;
};

}  // namespace DM
