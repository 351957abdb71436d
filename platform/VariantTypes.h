// The automation variant types by kind, named once for the routines that sort values by them.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace ombrisk {

// The number types: integers of every width, the reals, currency and decimal.
constexpr bool IsNumberType(VARTYPE vt) noexcept {
    switch (vt) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL: return true;
    default: return false;
    }
}

}  // namespace ombrisk
