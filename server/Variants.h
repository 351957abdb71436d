// Conversions of script arguments the way automation converts them. Every conversion that
// fails throws ScriptError with the number a script expects (13 type mismatch, 6 overflow,
// 94 invalid use of Null).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

namespace ombrisk {

// The value behind VT_BYREF | VT_VARIANT chains (scripts pass variables by reference).
const VARIANT& Deref(const VARIANT& v) noexcept;

// True for the marker of an omitted optional argument (VT_ERROR DISP_E_PARAMNOTFOUND).
bool IsMissing(const VARIANT& v) noexcept;
bool IsNull(const VARIANT& v) noexcept;
bool IsObject(const VARIANT& v) noexcept;

// Numeric in the automation sense: a number, a Boolean, Empty, or a string that reads as a number,
// each also when passed by reference.
bool IsNumeric(const VARIANT& v);

std::wstring ToString(const VARIANT& v);   // Empty -> "", Booleans as True/False
int32_t ToLong(const VARIANT& v);          // rounds halves to even
double ToDouble(const VARIANT& v);
bool ToBool(const VARIANT& v);
double ToDate(const VARIANT& v);           // automation date (days since 30 December 1899)

// Compares v with the integer 0 as automation compares a variant with a number:
// returns -1, 0 or 1; Null compares as "unknown" and returns 2.
int CompareWithZero(const VARIANT& v);

// The object's Pause setting as whole milliseconds divided by divisor, truncated toward zero.
int32_t PauseMs(const VARIANT& pause, int32_t divisor = 1);

// Sleeps ms milliseconds; a negative count returns at once (it must never become an endless wait).
void SleepMs(int32_t ms) noexcept;

}  // namespace ombrisk
