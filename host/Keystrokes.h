// SendKeystroke: keys in the SendKeys syntax (plus the space tokens) typed into the running host.
#pragma once

#include "platform/Pause.h"

#include <string_view>

namespace ombrisk {

// Where the keys may go: the host's window found by its caption, or the modal dialog that keeps
// it disabled; or only the host's main window (the selected-files members' Tabs).
enum class KeyTarget { HostOrItsDialog, MainWindow };

// Expands the space tokens, finds the host (command 2016 shows a hidden one), activates it by
// its caption and types the keys, waiting Pause \ 2 before and after and until the keys are
// processed. False when there is no host or it runs with higher rights (at once), when
// activation fails (no keys are sent; with MainWindow at once, also when a dialog disables the
// main window) or when the key string is malformed. A negative space count raises error 5
// before anything.
bool SendKeystroke(std::wstring_view keys, const Pause& pause, KeyTarget target = KeyTarget::HostOrItsDialog);

}  // namespace ombrisk
