// Late-bound calls between objects: IDispatch with dispatch ids and variant arguments, and the
// connection points through which an object calls back the sinks advised to it.
#pragma once

#include <string>
#include <vector>

#include "plat/com_object.h"
#include "plat/hresult.h"
#include "plat/types.h"

namespace plat {

using DISPID = LONG;
using LCID = DWORD;
using VARTYPE = WORD;
using VARIANT_BOOL = SHORT;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_VARIANT = 12;
constexpr VARTYPE VT_UI1 = 17;
constexpr VARTYPE VT_ARRAY = 0x2000;
constexpr VARTYPE VT_BYREF = 0x4000;

constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;

constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = static_cast<HRESULT>(0x80040202);

constexpr IID IID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr IID IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IConnectionPointContainer{
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
constexpr IID IID_IConnectionPoint{
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

class IDispatch;

// One argument or result. The type says which member holds the value; a by-reference type
// points at the caller's value, which the callee may change (a cancel flag).
struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    LONG lVal = 0;
    VARIANT_BOOL boolVal = VARIANT_FALSE;
    std::wstring bstrVal;
    std::vector<BYTE> bytes;  // VT_ARRAY | VT_UI1
    IDispatch* pdispVal = nullptr;
    VARIANT_BOOL* pboolVal = nullptr;  // VT_BOOL | VT_BYREF
    IDispatch** ppdispVal = nullptr;   // VT_DISPATCH | VT_BYREF
    VARIANT* pvarVal = nullptr;        // VT_VARIANT | VT_BYREF
};

VARIANT TextVariant(const std::wstring& text);
VARIANT IntVariant(LONG value);
VARIANT BoolVariant(bool value);
VARIANT DispatchVariant(IDispatch* object);
VARIANT BoolRefVariant(VARIANT_BOOL* flag);
VARIANT DispatchRefVariant(IDispatch** slot);
VARIANT VariantRefVariant(VARIANT* value);
// The value behind any number of VT_VARIANT | VT_BYREF steps.
const VARIANT& DereferencedVariant(const VARIANT& value);

// The arguments of a call, the last argument first, as IDispatch passes them.
struct DISPPARAMS {
    VARIANT* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    HRESULT scode;
    std::wstring bstrDescription;
};

class IDispatch : public IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, void** typeInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID iid, const wchar_t** names, UINT count, LCID locale,
                                  DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                           DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                           UINT* argumentError) = 0;

protected:
    ~IDispatch() = default;
};

// One outgoing interface of an object; every advised sink gets its calls.
class IConnectionPoint : public IUnknown {
public:
    // The sink is referenced until Unadvise; `cookie` names the connection.
    virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
    virtual HRESULT Unadvise(DWORD cookie) = 0;

protected:
    ~IConnectionPoint() = default;
};

class IConnectionPointContainer : public IUnknown {
public:
    virtual HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) = 0;

protected:
    ~IConnectionPointContainer() = default;
};

}  // namespace plat
