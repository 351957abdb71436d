// The class factory of Helper. One static instance; its lifetime is the DLL's.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace ombrisk {

IClassFactory* HelperClassFactory() noexcept;

}  // namespace ombrisk
