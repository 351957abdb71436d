// FormatAny under Wine: the library's own code stands in where Wine 8's formatting service is
// wrong (core/WineFormat.h chooses where), and refuses what would overrun the service's buffer.
// Windows never runs this (docs/wine.md).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "platform/Raii.h"

#include <string>

namespace ombrisk {

// FormatAny of a scalar value (holder holds a copy the routine may change) under Wine.
UniqueBstr WineFormatScalar(UniqueVariant& holder, std::wstring format);

}  // namespace ombrisk
