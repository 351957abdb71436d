#pragma once

#include "core/Portable.h"

#include <windows.h>
