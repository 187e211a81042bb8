#include "plat/dispatch.h"

namespace plat {

VARIANT TextVariant(const std::wstring& text) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = text;
    return value;
}

VARIANT IntVariant(LONG number) {
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

VARIANT BoolVariant(bool flag) {
    VARIANT value;
    value.vt = VT_BOOL;
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return value;
}

VARIANT DispatchVariant(IDispatch* object) {
    VARIANT value;
    value.vt = VT_DISPATCH;
    value.pdispVal = object;
    return value;
}

VARIANT BoolRefVariant(VARIANT_BOOL* flag) {
    VARIANT value;
    value.vt = VT_BOOL | VT_BYREF;
    value.pboolVal = flag;
    return value;
}

VARIANT DispatchRefVariant(IDispatch** slot) {
    VARIANT value;
    value.vt = VT_DISPATCH | VT_BYREF;
    value.ppdispVal = slot;
    return value;
}

VARIANT VariantRefVariant(VARIANT* target) {
    VARIANT value;
    value.vt = VT_VARIANT | VT_BYREF;
    value.pvarVal = target;
    return value;
}

const VARIANT& DereferencedVariant(const VARIANT& value) {
    const VARIANT* at = &value;
    while (at->vt == (VT_VARIANT | VT_BYREF) && at->pvarVal) {
        at = at->pvarVal;
    }
    return *at;
}

}  // namespace plat
