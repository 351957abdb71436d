// Registration of the class, its ProgID and the type library, for the machine
// (HKLM\Software\Classes) or for the current user only (HKCU\Software\Classes).
// Unregistration deletes exactly the keys registration creates.
#pragma once

#include <windows.h>

namespace ombrisk {

enum class RegistrationScope { Machine, User };

HRESULT RegisterServer(RegistrationScope scope) noexcept;
HRESULT UnregisterServer(RegistrationScope scope) noexcept;

}  // namespace ombrisk
