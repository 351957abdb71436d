// GetIniFiles: asks the running host which settings files it uses, through the dialog its
// command 690 opens, without the user seeing the dialog or hearing its sound.
#pragma once

#include "server/HelperState.h"

namespace ombrisk {

// Replaces state.MainINI and state.FTPINI with the paths the host's dialog lists; true when
// both were read. False without touching anything when the host is not the one bound at
// creation. The asterisk sound is restored and a dialog found is closed on every path.
bool QueryHostIniFiles(HelperState& state);

}  // namespace ombrisk
