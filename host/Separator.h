// Separator: the bar between the panels, read and moved as a percentage of the host's client width.
#pragma once

#include "host/HostWindow.h"

#include <optional>

namespace ombrisk {

// Separator get: the bar's position in percent, 0..100 with one decimal; nothing when the host
// bound at creation is gone or has no separator panel.
std::optional<float> GetSeparator(const HostBinding& host);

// Separator let: drags the bar of the bound host with the primary mouse button to percent
// (clamped to 0..100) and puts the cursor back; then closes the percentage tooltips left behind.
// Nothing at all when the host bound at creation is gone.
void SetSeparator(const HostBinding& host, double percent);

}  // namespace ombrisk
