// Whether the process runs under Wine, whose faults some routines work around (docs/wine.md).
#pragma once

namespace ombrisk {

// True when ntdll exports wine_get_version. Read once per process.
bool RunsUnderWine() noexcept;

}  // namespace ombrisk
