// The names selected in the source or target panel, borrowed through the clipboard.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "server/HelperState.h"

namespace ombrisk {

// GetSrcSelectedFiles / GetTrgSelectedFiles: a list result, or Empty when no host runs, when
// the host put nothing new on the clipboard (the clipboard is then left as it was) or, for the
// target panel, when a Tab keystroke failed (no command after a failed first Tab). The
// clipboard text from before the call is put back.
void GetSelectedFiles(const HelperState& state, bool withFullPath, bool fromTarget, VARIANT* result);

}  // namespace ombrisk
