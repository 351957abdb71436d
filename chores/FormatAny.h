// FormatAny: the platform's variant-formatting service with Sunday as first day of the week
// and the week of 1 January as first week of the year.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace ombrisk {

// Formats expression with format (absent when VT_ERROR DISP_E_PARAMNOTFOUND) into result
// (a string variant). A failure of the service throws ScriptError carrying its error number,
// source and description.
void FormatAnyValue(const VARIANT& expression, const VARIANT& format, VARIANT* result);

}  // namespace ombrisk
