// Messages the library sends to the host's windows. A host that is hung (does not pump its
// messages) is never waited for, and no send waits longer than its limit.
#pragma once

#include <windows.h>

#include <optional>

namespace ombrisk {

// How long a message the library sends to the host may take (a request, the window shown again
// before keys, a dialog closed, a copy command): a host that does not handle it by then is left
// alone instead of holding the script.
inline constexpr UINT kHostMessageTimeoutMs = 10000;

// SendMessageTimeout with SMTO_NORMAL | SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT: the receiver's
// result, or nothing when it did not handle the message within timeoutMs (INFINITE: no limit),
// was hung, or went away (its thread ended while handling the message included).
// SMTO_NORMAL, never SMTO_BLOCK: messages sent to this thread meanwhile (the host's answers) are let in.
std::optional<LRESULT> SendWithin(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                  UINT timeoutMs = kHostMessageTimeoutMs) noexcept;

}  // namespace ombrisk
