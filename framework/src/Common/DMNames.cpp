#include <cwchar>
#include <cwctype>

#include "DMAttrTable.h"
#include "DMBase.h"

namespace DM {

bool EqualNoCase(const wchar_t* a, const wchar_t* b) {
    if (!a || !b) {
        return a == b;
    }
    for (; *a && *b; ++a, ++b) {
        if (std::towlower(static_cast<wint_t>(*a)) != std::towlower(static_cast<wint_t>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

const wchar_t* AttributeNameOf(const wchar_t* declaration) {
    const wchar_t* underscore = std::wcschr(declaration, L'_');
    return underscore ? underscore + 1 : declaration;
}

bool IsClassNamed(const wchar_t* name, const wchar_t* className, const wchar_t* baseName) {
    return name && (EqualNoCase(name, className) || (baseName && EqualNoCase(name, baseName)));
}

}  // namespace DM
