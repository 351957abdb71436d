// Conversions of script arguments the way automation converts them. Every conversion that
// fails throws Error with the kind a script expects (type mismatch, overflow, invalid use of
// Null). Ownership: an [in] BSTR is borrowed and may be NULL (meaning "").
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace ombrisk {

// A BSTR's text, length-aware (embedded NULs kept); a null BSTR is the empty text.
inline std::wstring_view BstrView(BSTR s) noexcept {
    return s ? std::wstring_view(s, SysStringLen(s)) : std::wstring_view();
}

// The value behind VT_BYREF | VT_VARIANT chains (scripts pass variables by reference).
const VARIANT& Deref(const VARIANT& v) noexcept;

// True for the marker of an omitted optional argument (VT_ERROR DISP_E_PARAMNOTFOUND).
bool IsMissing(const VARIANT& v) noexcept;
bool IsNull(const VARIANT& v) noexcept;
bool IsObject(const VARIANT& v) noexcept;

// Numeric in the automation sense: a number, a Boolean, Empty, or a string that reads as a number,
// each also when passed by reference.
bool IsNumeric(const VARIANT& v);

std::wstring ToString(const VARIANT& v);      // Empty -> "", Booleans as True/False
std::wstring OptionalText(const VARIANT& v);  // ToString, or "" for an omitted argument
int32_t ToLong(const VARIANT& v);             // rounds halves to even
double ToDouble(const VARIANT& v);
double ToDate(const VARIANT& v);  // automation date (days since 30 December 1899)

// Compares v with the integer 0 as automation compares a variant with a number:
// returns -1, 0 or 1; Null compares as "unknown" and returns 2.
int CompareWithZero(const VARIANT& v);

}  // namespace ombrisk
