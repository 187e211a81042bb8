#include "DMRegMgr.h"

#include "DMAttrTable.h"

namespace DM {

std::size_t DMRegTypeItem::FindName(const wchar_t* name) const {
    for (std::size_t i = 0; i < GetCount(); ++i) {
        if (EqualNoCase(GetObj(i)->GetClassName(), name)) {
            return i;
        }
    }
    return DM_INVALID_INDEX;
}

bool DMRegTypeItem::EqualArrayObj(IDMReg* const& present, IDMReg* const& other) const {
    return IsValidRegType(other->GetClassType()) &&
           EqualNoCase(present->GetClassName(), other->GetClassName());
}

DMCode DMRegMgr::Register(const IDMReg& helper, bool replace) {
    if (!IsValidRegType(helper.GetClassType())) {
        return DM_ECODE_FAIL;
    }
    DMRegTypeItem& item = Item(helper.GetClassType());
    std::size_t present = item.FindName(helper.GetClassName());
    if (present != DM_INVALID_INDEX) {
        if (!replace) {
            return DM_ECODE_REGISTERED;
        }
        item.RemoveObj(present);
    }
    IDMReg* clone = helper.Clone();
    if (!item.AddObj(clone)) {
        delete clone;
        return DM_ECODE_FAIL;
    }
    return DM_ECODE_OK;
}

DMCode DMRegMgr::UnRegister(const wchar_t* name, int type) {
    if (!name || !IsValidRegType(type)) {
        return DM_ECODE_FAIL;
    }
    DMRegTypeItem& item = Item(type);
    return item.RemoveObj(item.FindName(name)) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMRegMgr::CreateRegObj(DMBase** object, const wchar_t* name, int type) {
    if (!IsValidRegType(type)) {
        return DM_ECODE_FAIL;
    }
    DMRegTypeItem& item = Item(type);
    if (!name || !*name) {
        name = item.m_defaultName.c_str();
    }
    if (!object || !*name) {
        return DM_ECODE_NONAME;
    }
    if (item.GetCount() == 0) {
        return DM_ECODE_NOREG;
    }
    std::size_t found = item.FindName(name);
    if (found == DM_INVALID_INDEX) {
        return DM_ECODE_FAIL;
    }
    *object = item.GetObj(found)->NewObj();
    return DM_ECODE_OK;
}

}  // namespace DM
