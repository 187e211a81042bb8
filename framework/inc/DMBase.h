// The common interface of every registered framework object: attribute handling from XML and
// from code, and the class's registration name and type.
#pragma once

#include "DMDef.h"
#include "DMRefNum.h"

namespace DM {

class DMXmlNode;

class DMBase : public DMRefNum {
public:
    // Applies the attributes of an XML element: 200 for an empty element, else 0. A "style"
    // attribute is moved to the front first, so the style applies before what overrides it.
    virtual DMCode InitDMData(DMXmlNode& node);
    virtual DMCode OnAttributeStart(const DMStringT& name, const DMStringT& value, bool loading);
    virtual DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading);
    virtual DMCode OnAttributeFinished(const DMStringT& name, const DMStringT& value, bool loading,
                                       DMCode code);
    virtual DMCode DefAttributeProc(const DMStringT& name, const DMStringT& value, bool loading);
    virtual DMCode OnFinished(DMXmlNode& node);
    virtual DMCode QueryInfo(WPARAM wParam, LPARAM lParam);

    virtual const wchar_t* GetClassName() const { return L""; }
    // True when `name` is, in any letter case, the registration name or the base registration
    // name of this class or of one of its ancestors.
    virtual bool IsClass(const wchar_t* name) const;
    virtual int GetClassType() const { return 0; }
};

// Whether `name` equals `className` or `baseName` (which may be null) without regard to case.
bool IsClassNamed(const wchar_t* name, const wchar_t* className, const wchar_t* baseName);

}  // namespace DM

// Declares a registered class's name, base name (null for none) and registration type, for
// DMRegHelperT and for the DMBase queries. `Parent` is the C++ base class.
#define DMDECLARE_CLASS_NAME(Class, Parent, Name, BaseName, Type)                 \
public:                                                                           \
    static const wchar_t* StaticClassName() {                                     \
        return Name;                                                              \
    }                                                                             \
    static const wchar_t* StaticBaseClassName() {                                 \
        return BaseName;                                                          \
    }                                                                             \
    static int StaticClassType() {                                                \
        return Type;                                                              \
    }                                                                             \
    const wchar_t* GetClassName() const override {                                \
        return Name;                                                              \
    }                                                                             \
    int GetClassType() const override {                                           \
        return Type;                                                              \
    }                                                                             \
    bool IsClass(const wchar_t* name) const override {                            \
        return ::DM::IsClassNamed(name, Name, BaseName) || Parent::IsClass(name); \
    }
