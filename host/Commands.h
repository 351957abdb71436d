// Host internal commands: the command table read from a command-definition file, the
// resolution of a script's command argument, and the command message itself.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "server/HelperState.h"

#include <cstdint>
#include <string>

namespace ombrisk {

inline constexpr UINT kHostCommandMessage = WM_USER + 51;  // 1075, wParam = command number

// The wait of a sent command without a time limit. INFINITE: on Windows a time-out of 0 is not
// "no limit" (Wine alone reads it so).
inline constexpr UINT kNoTimeLimit = INFINITE;

// How long a message the library sends to the host for its own needs may take (the window
// shown again before keys, a dialog closed): a host that is hung or does not handle it by
// then is left alone instead of holding the script.
inline constexpr UINT kHostMessageTimeoutMs = 10000;

// Sends msg to hwnd, waiting at most kHostMessageTimeoutMs and not at all for a hung window.
// False when the message was not handled in time.
bool SendBounded(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// Reads the command-definition file at path into state.CommandTable. Returns false when the
// file cannot be opened (the table is unchanged). A number outside the 32-bit range stops the
// parse, keeping the entries before it; raiseOverflow then throws the overflow error.
bool LoadCommandTable(HelperState& state, const std::wstring& path, bool raiseOverflow);

// A command number from a number (halves to even) or from a name looked up in the table
// without regard to case; an unknown name is 0. Throws 9 for a name when the table is
// empty, 6 for a number out of range and 13 for a value that is neither.
int32_t ResolveCommand(const HelperState& state, const VARIANT& cmd);

// SendCommand: finds the host, sends (waitIt) or posts the command, sleeps Pause. A sent
// command waits for the host without a time limit unless the host is hung, which gives false.
bool SendHostCommand(const HelperState& state, const VARIANT& cmd, bool waitIt);

}  // namespace ombrisk
