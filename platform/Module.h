// Module-wide state of the DLL: its instance handle, its path, and the counts that decide
// whether DllCanUnloadNow may say yes.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

// Set once by DllMain when the process loads the DLL.
void SetModuleInstance(HINSTANCE instance) noexcept;
HINSTANCE ModuleInstance() noexcept;
std::wstring ModulePath();  // full path of Ombrisk.dll

// Live objects, server locks and reply windows; the DLL stays loaded while any exists.
void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
bool ModuleInUse() noexcept;

}  // namespace ombrisk
