#include "DMResPackBase.h"

#include <cstring>
#include <cwchar>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMXml.h"
#include "IDMLog.h"

namespace DM {
namespace {

constexpr const wchar_t* kFileElement = L"file";

bool IsLayoutType(const wchar_t* type) {
    return EqualNoCase(type, L"layout") || EqualNoCase(type, L"global");
}

bool SameItem(const DMResItem& a, const DMResItem& b) {
    return a.Names(b.type.c_str(), b.name.c_str()) && EqualNoCase(a.path, b.path.c_str());
}

}  // namespace

DMStringT DMResPackBase::LogFunction(const wchar_t* method) const {
    return DMStringT(L"DM::") + GetClassName() + L"::" + method;
}

void DMResPackBase::Diagnose(const wchar_t* method, const DMStringT& text) {
    if (m_bAssert) {
        DMLog(DMLOG_ERR, LogFunction(method).c_str(), L"" __FILE__, __LINE__, L"%ls\n",
              text.c_str());
    }
}

DMSmartPtrT<DMResItemList> DMResPackBase::ParseIndex(const DMStringT& path,
                                                     const DMStringT& listName, bool required) {
    auto list = DMSmartPtrT<DMResItemList>::Adopt(new DMResItemList(listName));
    std::optional<std::vector<char>> bytes = ReadIndexFile(path);
    if (!bytes) {
        return required ? DMSmartPtrT<DMResItemList>() : list;
    }
    DMXmlDocument document;
    DMStringT function = LogFunction(L"ParseIndex");
    if (!document.LoadFromBuffer(bytes->data(), bytes->size())) {
        DMLog(DMLOG_ERR, function.c_str(), L"" __FILE__, __LINE__,
              L"[mid]-xml LoadFromFile:%ls fail\n", path.c_str());
        return required ? DMSmartPtrT<DMResItemList>() : list;
    }
    DMXmlNode root = document.Root();
    if (!root.IsValid()) {
        DMLog(DMLOG_ERR, function.c_str(), L"" __FILE__, __LINE__, L"[mid]-xmlnode inValid\n");
        return required ? DMSmartPtrT<DMResItemList>() : list;
    }
    for (DMXmlNode section = root.FirstChild(); section.IsValid();
         section = section.NextSibling()) {
        for (DMXmlNode file = section.FirstChild(kFileElement); file.IsValid();
             file = file.NextSibling(kFileElement)) {
            DMStringT itemPath = file.Attribute(L"path");
            DMResItem item;
            if (itemPath.empty()) {
                continue;
            }
            if (!DMResItem::Make(section.GetName(), file.Attribute(L"name"), itemPath, item)) {
                Diagnose(L"ParseIndex", itemPath + L" 名称或路径过长,将被忽略");
                continue;
            }
            list->Add(item);
        }
    }
    return list;
}

bool DMResPackBase::AddTheme(const DMSmartPtrT<DMResItemList>& theme) {
    if (FindTheme(theme->GetName().c_str())) {
        Diagnose(L"AddTheme", theme->GetName() + L"主题包已存在,将被忽略！");
        return false;
    }
    m_themes.push_back(theme);
    return true;
}

DMCode DMResPackBase::LoadIndexes() {
    m_pCurTheme = nullptr;
    m_themes.clear();
    m_layoutList = ParseIndex(kLayoutIndex, L"", false);
    DMCode code = ReadThemeList();
    SelectCurrentTheme();
    return code;
}

// Each element of the theme list configures the pack with its attributes and names themes in
// its "file" children.
DMCode DMResPackBase::ReadThemeList() {
    std::optional<std::vector<char>> bytes = ReadIndexFile(kThemeList);
    DMXmlDocument document;
    if (!bytes || !document.LoadFromBuffer(bytes->data(), bytes->size()) ||
        !document.Root().IsValid()) {
        return DM_ECODE_FAIL;
    }
    for (DMXmlNode group = document.Root().FirstChild(); group.IsValid();
         group = group.NextSibling()) {
        for (DMXmlAttribute attribute = group.FirstAttribute(); attribute.IsValid();
             attribute = attribute.NextAttribute()) {
            SetAttribute(attribute.GetName(), attribute.GetValue(), true);
        }
        for (DMXmlNode file = group.FirstChild(kFileElement); file.IsValid();
             file = file.NextSibling(kFileElement)) {
            DMStringT path = file.Attribute(L"path");
            if (path.empty()) {
                continue;
            }
            if (DMSmartPtrT<DMResItemList> theme =
                    ParseIndex(path, file.Attribute(L"name"), true)) {
                AddTheme(theme);
            }
        }
    }
    return DM_ECODE_OK;
}

void DMResPackBase::SelectCurrentTheme() {
    if (m_themes.empty()) {
        return;
    }
    m_pCurTheme = FindTheme(m_strCurTheme.c_str());
    if (!m_pCurTheme) {
        m_pCurTheme = m_themes.front().get();
        m_strCurTheme = m_pCurTheme->GetName();
    }
}

DMResItemList* DMResPackBase::FindTheme(const wchar_t* name) const {
    for (const DMSmartPtrT<DMResItemList>& theme : m_themes) {
        if (EqualNoCase(theme->GetName(), name)) {
            return theme.get();
        }
    }
    return nullptr;
}

const DMResItem* DMResPackBase::FindItem(const wchar_t* type, const wchar_t* name,
                                         const wchar_t* theme) {
    if (!type || !name) {
        return nullptr;
    }
    if (IsLayoutType(type)) {
        return m_layoutList->Find(type, name);
    }
    DMResItemList* list = theme ? FindTheme(theme) : m_pCurTheme;
    if (!list) {
        return nullptr;
    }
    const DMResItem* item = list->Find(type, name);
    for (std::size_t i = 0; !item && m_bLoop && i < m_themes.size(); ++i) {
        item = m_themes[i]->Find(type, name);
    }
    return item;
}

DMCode DMResPackBase::IsItemExists(const wchar_t* type, const wchar_t* name, const wchar_t* theme) {
    return FindItem(type, name, theme) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMResPackBase::GetItemSize(const wchar_t* type, const wchar_t* name, std::size_t& size,
                                  const wchar_t* theme) {
    const DMResItem* item = FindItem(type, name, theme);
    std::optional<std::size_t> found = item ? ItemSize(*item) : std::nullopt;
    if (!found) {
        Diagnose(L"GetItemSize", DMStringT(L"Res资源中") + (type ? type : L"") + L":" +
                                     (name ? name : L"") + L"获取size失败");
        return DM_ECODE_FAIL;
    }
    size = *found;
    return DM_ECODE_OK;
}

DMCode DMResPackBase::GetItemBuf(const wchar_t* type, const wchar_t* name, void* buffer,
                                 std::size_t size, const wchar_t* theme) {
    const DMResItem* item = FindItem(type, name, theme);
    if (!item || !buffer || !ReadItem(*item, buffer, size)) {
        Diagnose(L"GetItemBuf", DMStringT(L"Res资源中") + (type ? type : L"") + L":" +
                                    (name ? name : L"") + L"获取buf失败");
        return DM_ECODE_FAIL;
    }
    return DM_ECODE_OK;
}

DMStringT DMResPackBase::ChangeList(const DMResItemList* previous) const {
    DMStringT list;
    for (const DMResItem& item : m_pCurTheme->Items()) {
        bool unchanged = false;
        for (std::size_t i = 0; previous && !unchanged && i < previous->Items().size(); ++i) {
            unchanged = SameItem(previous->Items()[i], item);
        }
        if (m_bOutStyle || !unchanged) {
            list += item.type + L":" + item.name + L";";
        }
    }
    return list;
}

DMCode DMResPackBase::SetCurTheme(const wchar_t* theme, DMStringT* previous) {
    if (previous) {
        *previous = m_strCurTheme;
    }
    if (!theme || (m_strCurTheme == theme && m_pCurTheme && !m_bOutStyle)) {
        return DM_ECODE_FAIL;
    }
    DMResItemList* found = FindTheme(theme);
    if (!found) {
        return DM_ECODE_FAIL;
    }
    DMResItemList* old = m_pCurTheme;
    m_pCurTheme = found;
    m_strCurTheme = theme;
    DMStringT changes = ChangeList(old);
    DMApp::GetObjPtr()->UpdateSkins(changes.c_str(), static_cast<int>(changes.size() + 1));
    m_bOutStyle = false;
    return DM_ECODE_OK;
}

// wParam is the buffer and lParam its size in bytes; a size of 0 asks for the size needed,
// which is written into the buffer as an integer.
DMCode DMResPackBase::QueryInfo(WPARAM wParam, LPARAM lParam) {
    DMStringT names;
    for (const DMSmartPtrT<DMResItemList>& theme : m_themes) {
        names += theme->GetName() + L";";
    }
    std::size_t needed = (names.size() + 1) * sizeof(wchar_t);
    if (wParam == 0) {
        return DM_ECODE_OK;
    }
    if (lParam == 0) {
        *reinterpret_cast<int*>(wParam) = static_cast<int>(needed);
    } else if (static_cast<std::size_t>(lParam) >= needed) {
        std::wmemcpy(reinterpret_cast<wchar_t*>(wParam), names.c_str(), names.size() + 1);
    }
    return DM_ECODE_OK;
}

DMCode DMResPackBase::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    if (EqualNoCase(name, L"name")) {
        m_strCurTheme = value;
    } else if (EqualNoCase(name, L"bloop")) {
        ParseBool(value, m_bLoop);
    } else if (EqualNoCase(name, L"boutstyle")) {
        ParseBool(value, m_bOutStyle);
    } else if (EqualNoCase(name, L"bassert")) {
        ParseBool(value, m_bAssert);
    } else {
        return DefAttributeProc(name, value, loading);
    }
    return DMATTR_OK;
}

}  // namespace DM
