// Text and class tests of the percentage-tooltip sweep (the tooltip the host leaves behind after
// a separator drag). Portable and pure; the Win32 shell enumerates windows and posts WM_CLOSE.
#pragma once

#include "core/AsciiText.h"  // ContainsNoCase, which the sweep's callers use on class names

#include <string_view>

namespace ombrisk {

// True when a window text (ANSI bytes, as GetWindowTextA read it) is 5 to 7 bytes long and ends
// with " %", such as "50.0 %". "50 %" and "100.00 %" are not.
bool IsPercentTooltipText(std::string_view ansiText);

}  // namespace ombrisk
