// The class registry: for each registration type 1..16 the helpers of its classes in
// registration order, and the type's default class name.
#pragma once

#include <array>

#include "DMArrayT.h"
#include "DMRegType.h"
#include "IDMReg.h"

namespace DM {

// Owns its helper clones; two helpers are equal when they name the same class in any case.
class DMRegTypeItem : public DMArrayT<IDMReg*> {
public:
    ~DMRegTypeItem() override { RemoveAll(); }

    // The first helper whose class name equals `name` without regard to case.
    std::size_t FindName(const wchar_t* name) const;

    DMStringT m_defaultName;

protected:
    bool EqualArrayObj(IDMReg* const& present, IDMReg* const& other) const override;
    void PreArrayObjRemove(IDMReg* const& helper) override { delete helper; }
};

class DMRegMgr {
public:
    DMCode Register(const IDMReg& helper, bool replace);
    DMCode UnRegister(const wchar_t* name, int type);
    DMCode CreateRegObj(DMBase** object, const wchar_t* name, int type);

    // The item of a type within 1..16.
    DMRegTypeItem& Item(int type) { return m_items[static_cast<std::size_t>(type - DMREG_First)]; }

private:
    std::array<DMRegTypeItem, DMREG_Last> m_items;
};

}  // namespace DM
