// About: the object's About box.
#pragma once

namespace ombrisk {

// Shows the system-modal About box; returns when the user closes it.
void ShowAboutBox() noexcept;

}  // namespace ombrisk
