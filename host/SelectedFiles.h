// GetSrcSelectedFiles / GetTrgSelectedFiles: the names selected in a panel, borrowed through
// the clipboard.
#pragma once

#include "platform/Pause.h"

#include <optional>
#include <string>

namespace ombrisk {

// The names the host copied, one per line (CR LF), as the clipboard held them; nothing when no
// host runs, the host did not take the copy command (a sent one, with wait, within 10 s), it put
// nothing new on the clipboard within the fixed waits and 1 s more, or, for the target panel, a
// Tab keystroke failed (no command after a failed first Tab). Everything that can be copied from
// the clipboard before the call is put back after the host's copy, on every path, unless the
// copy could never be read (another program held the clipboard throughout): those names stay;
// an empty clipboard keeps the names too. Another program holding the clipboard is waited for
// up to 1 s before the call, for the names and for the put-back. withFullPath asks for the
// names with their paths.
std::optional<std::wstring> GetSrcSelectedFiles(bool withFullPath, bool wait, const Pause& pause);
std::optional<std::wstring> GetTrgSelectedFiles(bool withFullPath, bool wait, const Pause& pause);

}  // namespace ombrisk
