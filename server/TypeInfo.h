// The type library embedded in this DLL, loaded once per process and cached.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace ombrisk {

// Borrowed pointers, valid while the DLL is loaded; null when the library cannot be loaded.
ITypeInfo* HelperInterfaceInfo() noexcept;  // _Helper
ITypeInfo* HelperClassInfo() noexcept;      // coclass Helper

// The number of arguments member id accepts when invoked with flags (the retval not counted),
// or -1 when the type information has no such member.
int ArgumentLimit(DISPID id, WORD flags) noexcept;

// The index of the first parameter of method id that is optional, has no default and is no
// Variant (a dispatcher need not accept it left out), or -1 when it has none.
int OptionalTypedParameter(DISPID id, WORD flags) noexcept;

// The DISPID of member name of _Helper, or DISPID_UNKNOWN.
DISPID HelperDispid(const wchar_t* name) noexcept;

// Releases the cached type information (DLL unload).
void ReleaseTypeInfo() noexcept;

}  // namespace ombrisk
