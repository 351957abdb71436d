// The percentage tooltips the host leaves behind after the separator is dragged.
#pragma once

namespace ombrisk {

// Closes (WM_CLOSE, posted) every window on the desktop, of any process, whose class contains
// "TToolTip" and whose 5-to-7-character text ends in " %". Never fails towards its caller.
void ClosePercentTooltips() noexcept;

}  // namespace ombrisk
