#pragma once
// The little of OLE Automation's VARIANT that the browser control is called
// with: an empty value, or the error value that marks an optional argument
// as not given.
#include <cstdint>

using HRESULT = std::int32_t;
using VARTYPE = std::uint16_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004);

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_ERROR = 10;

struct TVariant {
    VARTYPE vt = VT_EMPTY;
    HRESULT scode = 0;

    // An optional argument left out.
    static constexpr TVariant Missing() { return TVariant{VT_ERROR, DISP_E_PARAMNOTFOUND}; }
    constexpr bool IsMissing() const { return vt == VT_ERROR && scode == DISP_E_PARAMNOTFOUND; }
};
