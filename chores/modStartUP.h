// modStartUP: the About box, the start-up routine, and the sweep of leftover percentage tooltips.
#pragma once

namespace ombrisk {

// Shows the system-modal About box; returns when the user closes it.
void ShowAbout() noexcept;

// Run when the component starts. Loaded as an in-process server, as always, it does nothing.
void StartUpMain() noexcept;

// Closes (WM_CLOSE, posted) every window on the desktop, of any process, whose class contains
// "TToolTip" and whose 5-to-7-character text ends in " %". Never fails towards its caller.
void ClosePercentTooltips() noexcept;

}  // namespace ombrisk
