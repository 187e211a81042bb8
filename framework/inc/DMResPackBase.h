// What both resource packs share: the layout list and the themes read from the pack's index
// files, item lookup, theme switching and the pack attributes. A pack class supplies the
// storage: how an index file, an item's size and an item's bytes are read.
#pragma once

#include <optional>
#include <vector>

#include "DMResItem.h"
#include "DMSmartPtrT.h"
#include "IDMRes.h"

namespace DM {

class DMResPackBase : public IDMRes {
public:
    DMCode IsItemExists(const wchar_t* type, const wchar_t* name, const wchar_t* theme) override;
    DMCode GetItemSize(const wchar_t* type, const wchar_t* name, std::size_t& size,
                       const wchar_t* theme) override;
    DMCode GetItemBuf(const wchar_t* type, const wchar_t* name, void* buffer, std::size_t size,
                      const wchar_t* theme) override;
    DMCode SetCurTheme(const wchar_t* theme, DMStringT* previous) override;
    // The theme names, each followed by ";" (see the pack classes for the buffer rules).
    DMCode QueryInfo(WPARAM wParam, LPARAM lParam) override;
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;

protected:
    static constexpr const wchar_t* kLayoutIndex = L"\\layout\\dmindex.xml";
    static constexpr const wchar_t* kThemeList = L"\\themes\\dmindex.xml";

    // The storage of the pack class.
    virtual std::optional<std::vector<char>> ReadIndexFile(const DMStringT& path) = 0;
    virtual std::optional<std::size_t> ItemSize(const DMResItem& item) = 0;
    virtual bool ReadItem(const DMResItem& item, void* buffer, std::size_t size) = 0;

    // Drops every list and reads the layout index and the theme list again: 0 when the theme
    // list was read, 1 when it is missing or does not parse.
    DMCode LoadIndexes();
    // The items of one index file, in a list of that name; an index that cannot be read or
    // parsed gives an empty list, or none with `required`.
    DMSmartPtrT<DMResItemList> ParseIndex(const DMStringT& path, const DMStringT& listName,
                                          bool required);
    // False, with a diagnostic, when a theme of that name is present.
    bool AddTheme(const DMSmartPtrT<DMResItemList>& theme);
    // "DM::<class>::<method>", as the log names the pack's functions.
    DMStringT LogFunction(const wchar_t* method) const;
    // Logs a composed diagnostic when "bassert" is set.
    void Diagnose(const wchar_t* method, const DMStringT& text);

private:
    const DMResItem* FindItem(const wchar_t* type, const wchar_t* name, const wchar_t* theme);
    DMResItemList* FindTheme(const wchar_t* name) const;
    DMCode ReadThemeList();
    void SelectCurrentTheme();
    DMStringT ChangeList(const DMResItemList* previous) const;

    DMSmartPtrT<DMResItemList> m_layoutList = DMSmartPtrT<DMResItemList>::Adopt(new DMResItemList);
    std::vector<DMSmartPtrT<DMResItemList>> m_themes;
    DMResItemList* m_pCurTheme = nullptr;
    DMStringT m_strCurTheme;
    bool m_bLoop = true;
    bool m_bOutStyle = false;
    bool m_bAssert = true;
};

}  // namespace DM
