// How the class registry knows a class: a helper that creates instances and names the class.
// DMRegHelperT builds one from the class's DMDECLARE_CLASS_NAME; it has no state, so a caller
// registers a class by passing a temporary helper, of which the registry keeps a clone.
#pragma once

#include "DMBase.h"

namespace DM {

class IDMReg {
public:
    virtual ~IDMReg() = default;
    // A new instance; reference-counted objects start with the caller's reference.
    virtual DMBase* NewObj() const = 0;
    virtual IDMReg* Clone() const = 0;
    virtual const wchar_t* GetClassName() const = 0;
    virtual const wchar_t* GetBaseClassName() const = 0;
    virtual int GetClassType() const = 0;
};

template <class T>
class DMRegHelperT : public IDMReg {
public:
    DMBase* NewObj() const override { return new T; }
    IDMReg* Clone() const override { return new DMRegHelperT<T>; }
    const wchar_t* GetClassName() const override { return T::StaticClassName(); }
    const wchar_t* GetBaseClassName() const override { return T::StaticBaseClassName(); }
    int GetClassType() const override { return T::StaticClassType(); }
};

}  // namespace DM
