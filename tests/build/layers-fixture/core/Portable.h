// Standard C++ only: allowed in the core.
#pragma once

#include <cstdint>
#include <string>
