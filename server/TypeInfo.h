// The type library embedded in this DLL, loaded once per process and cached.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace ombrisk {

// Borrowed pointers, valid while the DLL is loaded; null when the library cannot be loaded.
ITypeInfo* HelperInterfaceInfo() noexcept;  // _Helper
ITypeInfo* HelperClassInfo() noexcept;      // coclass Helper
ITypeLib* OmbriskTypeLib() noexcept;

// Releases the cached type information (DLL unload).
void ReleaseTypeInfo() noexcept;

}  // namespace ombrisk
