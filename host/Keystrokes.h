// SendKeystroke: keys in the SendKeys syntax (plus the space tokens) typed into the running host.
#pragma once

#include "platform/Pause.h"

#include <string_view>

namespace ombrisk {

// Expands the space tokens, finds the host (command 2016 shows a hidden one), activates it by
// its caption and types the keys, waiting Pause \ 2 before and after and until the keys are
// processed. False when there is no host (at once), when activation fails (no keys are sent)
// or when the key string is malformed. A negative space count raises error 5 before anything.
bool SendKeystroke(std::wstring_view keys, const Pause& pause);

}  // namespace ombrisk
