// Module-wide state of the DLL: its instance handle, its path, and the counts that decide
// whether DllCanUnloadNow may say yes.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

HINSTANCE ModuleInstance() noexcept;
std::wstring ModulePath();  // full path of Ombrisk.dll

// Live objects, server locks and hooked reply windows; the DLL stays loaded while any exists.
void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
bool ModuleInUse() noexcept;

}  // namespace ombrisk
