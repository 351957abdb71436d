// Host internal commands: the command table read from a command-definition file (LoadIncFile),
// the command message (SendCommand) and user-defined commands run by name (UserCmd).
#pragma once

#include <windows.h>

#include "core/CommandFile.h"
#include "platform/Pause.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

inline constexpr UINT kHostCommandMessage = WM_USER + 51;  // 1075, wParam = command number

// The host's own commands the library uses.
inline constexpr WPARAM kShowSettingsFilesCommand = 690;  // the dialog naming the settings files
inline constexpr WPARAM kShowMainWindowCommand = 2016;    // a hidden main window shown again
inline constexpr WPARAM kCopyNamesCommand = 2017;         // the active panel's selected names to the clipboard
inline constexpr WPARAM kCopyFullNamesCommand = 2018;     // the same with their paths

// Posts command to host, or sends it (send) waiting at most timeoutMs and not at all for a hung
// host: the host's result for a sent command, 1 for a posted one; nothing when it could not be
// posted or was not handled in time.
std::optional<LRESULT> DeliverCommand(HWND host, WPARAM command, bool send, UINT timeoutMs) noexcept;

// Command names and numbers in file order. The names keep the file's ANSI bytes and stand one
// after another in one string (a file of many thousand commands costs two allocations, not one
// per name); a lookup by name widens them as it goes. Measured (make bench, scale.creation):
// with one string per name CreateObject takes a third longer for a 100,000-line file.
class CommandTable {
public:
    bool empty() const noexcept { return entries_.empty(); }
    // The number of the first command whose name equals name without regard to case; 0 when none does.
    int32_t Find(std::wstring_view name) const;

private:
    friend bool LoadIncFile(CommandTable&, const std::wstring&, bool);
    std::string names_;
    std::vector<CommandEntryAt> entries_;
};

// Reads the command-definition file at path into table. Returns false when the file cannot be
// opened (the table is unchanged); a file without a defining line leaves the table as it was too.
// A number outside the 32-bit range stops the parse, keeping the entries before it;
// raiseOverflow then throws the overflow error.
bool LoadIncFile(CommandTable& table, const std::wstring& path, bool raiseOverflow);

// SendCommand to a running host: sends (waitIt) or posts command number, then sleeps Pause. A
// sent command waits for the host without a time limit unless the host is hung, which gives false.
bool SendCommand(HWND host, int32_t number, bool waitIt, const Pause& pause);

// UserCmd: runs a user-defined command by name with an "EM" request; true when the host handled
// it in time and returned 0. False at once for an empty name or without a host. Waits Pause \ 2
// after the request.
bool UserCmd(const std::wstring& name, const Pause& pause);

}  // namespace ombrisk
