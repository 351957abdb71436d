// DbgPrint: switchable trace text on the system debug output.
#pragma once

#include <string_view>

namespace ombrisk {

// Handles the control words "[dbgon]", "[dbgoff]" and "[dbgclear]" (whole text, any case) and
// otherwise writes text, converted to ANSI, when enabled is true. No prefix, no line end.
void DbgPrint(std::wstring_view text, bool& enabled);

}  // namespace ombrisk
