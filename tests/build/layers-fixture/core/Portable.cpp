#include "core/Portable.h"

#include <windows.h>
#include <vector>
