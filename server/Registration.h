// Registration of the class, its ProgID and the type library, for the machine
// (HKLM\Software\Classes) or for the current user only (HKCU\Software\Classes), in the registry
// view of the DLL's own bitness. On 64-bit Windows the x86 and the x64 DLL may both be
// registered: CLSID and Interface keys are per view, the ProgID and the TypeLib key are shared,
// and the type library key gets one platform subkey (win32 or win64) from each DLL.
// Unregistration deletes this view's keys and this DLL's platform subkey; the shared keys go
// only when the other view no longer registers the class.
#pragma once

#include <windows.h>

namespace ombrisk {

enum class RegistrationScope { Machine, User };

HRESULT RegisterServer(RegistrationScope scope) noexcept;
HRESULT UnregisterServer(RegistrationScope scope) noexcept;

}  // namespace ombrisk
