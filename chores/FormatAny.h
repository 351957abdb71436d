// FormatAny: the platform's variant-formatting service with Sunday as first day of the week
// and the week of 1 January as first week of the year. The value is the script's variant as it is.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "platform/Raii.h"

#include <string>

namespace ombrisk {

// The text of expression (a value, not a reference) under format (empty: the general format);
// never a null string. A failure of the service throws Error carrying its kind, source and
// description.
UniqueBstr FormatAny(const VARIANT& expression, std::wstring format);

// The platform's service alone for value (an empty format is the general format); never a null
// string. Throws as FormatAny.
UniqueBstr FormatByService(const VARIANT& value, const std::wstring& format);

}  // namespace ombrisk
