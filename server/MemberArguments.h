// Arguments of particular members read from the script's variants, and list results made for
// them. Failures throw Error with the kind a script expects (server/Variants.h).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "platform/Pause.h"
#include "platform/Raii.h"

#include <optional>
#include <string>
#include <string_view>

namespace ombrisk {

// Pause read once: a value that is no 32-bit number keeps its error for the waits.
Pause ReadPause(const VARIANT& value);

// An INIRead section or key name for listing names: a number becomes its digits in general
// number format, anything else is trimmed of spaces.
std::wstring ListModeName(const VARIANT& in);

// FormatAny's format: a string as it stands, an omitted one empty, anything else converted.
std::wstring FormatText(const VARIANT& format);

// A list result from names separated by delimiter, or Empty for none.
UniqueVariant ListOrEmpty(const std::optional<std::wstring>& names, std::wstring_view delimiter, bool noArrayReturn);

}  // namespace ombrisk
