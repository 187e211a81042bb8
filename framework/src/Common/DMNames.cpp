#include <cwchar>
#include <cwctype>

#include "DMAttrTable.h"
#include "DMBase.h"
#include "DMStringHelpers.h"

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

DMStringT LowerCase(DMStringT text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return text;
}

DMStringT TrimSpaces(const DMStringT& text) {
    std::size_t first = text.find_first_not_of(L' ');
    if (first == DMStringT::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

DMCode CopyIdText(const DMStringT& id, wchar_t* buffer, int size) {
    if (id.empty()) {
        return DM_ECODE_FAIL;
    }
    if (!buffer || size <= static_cast<int>(id.size())) {
        return DM_ECODE_SMALLBUF;
    }
    std::wcscpy(buffer, id.c_str());
    return DM_ECODE_OK;
}

const wchar_t* AttributeNameOf(const wchar_t* declaration) {
    const wchar_t* underscore = std::wcschr(declaration, L'_');
    return underscore ? underscore + 1 : declaration;
}

bool IsClassNamed(const wchar_t* name, const wchar_t* className, const wchar_t* baseName) {
    return name && (EqualNoCase(name, className) || (baseName && EqualNoCase(name, baseName)));
}

}  // namespace DM
