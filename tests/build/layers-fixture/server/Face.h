// The top layer may include every other one and the build's generated headers.
#pragma once

#include "chores/Clipboard.h"
#include "core/Portable.h"
#include "generated/Product_h.h"
#include "host/Host.h"

#include <ocidl.h>
