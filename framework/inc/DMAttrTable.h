// Attribute tables. A class that takes attributes declares its table as a class of name
// constants, each spelt as its value grammar, an underscore and the attribute's name:
//
//     class DUIStaticAttr {
//     public:
//         static const wchar_t* bool_bmultiLines;   // declared in the header
//     };
//     DMATTR_DEFINE(DUIStaticAttr, bool_bmultiLines)   // in one source file
//
// At program start each constant comes to point at its name, the text after the first
// underscore ("bmultiLines"). A class's SetAttribute then matches names against its entries in
// table order, without regard to case, with DispatchAttribute and the appliers below.
#pragma once

#include <cstddef>

#include "DMColor.h"
#include "DMDef.h"
#include "DMStringHelpers.h"
#include "IDMAttribute.h"

namespace DM {

// The attribute name inside a "GRAMMAR_name" declaration.
const wchar_t* AttributeNameOf(const wchar_t* declaration);

// One entry of a class's table: the name constant and what applies a value to the object.
template <class T>
struct DMAttributeEntry {
    const wchar_t* const* name;
    DMCode (*apply)(T& object, const DMStringT& value, bool loading);
};

// Applies the first entry whose name matches; false when none does.
template <class T, std::size_t N>
bool DispatchAttribute(T& object, const DMAttributeEntry<T> (&table)[N], const DMStringT& name,
                       const DMStringT& value, bool loading, DMCode& code) {
    for (const DMAttributeEntry<T>& entry : table) {
        if (EqualNoCase(name, *entry.name)) {
            code = entry.apply(object, value, loading);
            return true;
        }
    }
    return false;
}

namespace detail {
template <class M>
struct MemberOf;
template <class C, class V>
struct MemberOf<V C::*> {
    using Owner = C;
};
template <auto Member>
using OwnerOf = typename MemberOf<decltype(Member)>::Owner;
}  // namespace detail

// Appliers that parse the value into a member and answer a fixed code. A value that does not
// parse leaves the member as it was; the code is answered all the same.
template <auto Member, DMCode Code>
DMCode IntAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    ParseInt(value, object.*Member);
    return Code;
}
template <auto Member, DMCode Code>
DMCode ByteAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    int number = 0;
    if (ParseInt(value, number) == DM_ECODE_OK) {
        object.*Member = static_cast<BYTE>(number);
    }
    return Code;
}
template <auto Member, DMCode Code>
DMCode BoolAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    ParseBool(value, object.*Member);
    return Code;
}
template <auto Member, DMCode Code>
DMCode ColorAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    ParseColor(value, object.*Member);
    return Code;
}
template <auto Member, DMCode Code>
DMCode SizeAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    ParseSize(value, object.*Member);
    return Code;
}
template <auto Member, DMCode Code>
DMCode PointAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    ParsePoint(value, object.*Member);
    return Code;
}
template <auto Member, DMCode Code>
DMCode RectAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    ParseRect(value, object.*Member);
    return Code;
}
template <auto Member, DMCode Code>
DMCode StringAttribute(detail::OwnerOf<Member>& object, const DMStringT& value, bool) {
    object.*Member = value;
    return Code;
}

}  // namespace DM

#define DMATTR_DEFINE(Table, entry) const wchar_t* Table::entry = ::DM::AttributeNameOf(L## #entry);
