// The names selected in the source or target panel, borrowed through the clipboard.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "server/HelperState.h"

namespace ombrisk {

// GetSrcSelectedFiles / GetTrgSelectedFiles: a list result, or Empty when no host runs, the host
// did not take the copy command (a sent one within 10 s), it put nothing new on the clipboard
// within the fixed waits and 1 s more, or, for the target panel, a Tab keystroke failed (no
// command after a failed first Tab). Everything that can be copied from the clipboard before
// the call is put back after the host's copy, on every path; an empty clipboard keeps the names.
void GetSelectedFiles(const HelperState& state, bool withFullPath, bool fromTarget, VARIANT* result);

}  // namespace ombrisk
