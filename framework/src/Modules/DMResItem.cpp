#include "DMResItem.h"

#include "DMStringHelpers.h"

#include "DMAttrTable.h"

namespace DM {
bool DMResItem::Make(const DMStringT& type, const DMStringT& name, const DMStringT& path,
                     DMResItem& item) {
    if (type.size() > kMaxType || name.size() > kMaxName || path.size() > kMaxPath) {
        return false;
    }
    item = {LowerCase(type), LowerCase(name), LowerCase(path)};
    return true;
}

bool DMResItem::Names(const wchar_t* otherType, const wchar_t* otherName) const {
    return EqualNoCase(type, otherType) && EqualNoCase(name, otherName);
}

bool DMResItemList::Add(const DMResItem& item) {
    if (Find(item.type.c_str(), item.name.c_str())) {
        return false;
    }
    m_items.push_back(item);
    return true;
}

const DMResItem* DMResItemList::Find(const wchar_t* type, const wchar_t* name) const {
    for (const DMResItem& item : m_items) {
        if (item.Names(type, name)) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace DM
