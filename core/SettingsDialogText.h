// Reads the two settings-file paths from the text of the host's "INI-Files:" dialog.
// Portable and pure; the Win32 shell finds the dialog, reads its second "Static" control's text
// (converted from ANSI) and stores the result as MainINI / FTPINI.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ombrisk {

// The text counts up to its first U+0000. After the first "INI-Files:" (ASCII letters in any
// case) one separator character is skipped; the rest up to the first CR is the main file, all
// after that CR (further lines included) the FTP file. No label, nothing after the separator,
// or no CR: nullopt, and the caller leaves its settings as they were.
std::optional<std::pair<std::u16string, std::u16string>> ParseSettingsDialogText(std::u16string_view dialogText);

}  // namespace ombrisk
