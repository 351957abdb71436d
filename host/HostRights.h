// The rights of the file manager's process compared with this process's: whether Windows lets
// the two talk at all.
#pragma once

#include <windows.h>

#include <optional>

#include "core/IntegrityLevels.h"

namespace ombrisk {

// The integrity level of the process owning window (the token's mandatory label, 0x2000 for a
// normal program, 0x3000 run as administrator); of this process when window is null. Nothing
// when the process or its token cannot be read, as a program of higher rights may refuse.
std::optional<uint32_t> IntegrityLevelOf(HWND window) noexcept;

// The gap between this process and the file manager's main window (host, or the one
// FindHostWindow gives); Unknown when no file manager runs or a level cannot be read.
RightsGap HostRightsGap(HWND host) noexcept;
RightsGap HostRightsGap() noexcept;

}  // namespace ombrisk
