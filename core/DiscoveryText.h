// Text rules of the installation discovery: the process's command-line arguments, the "i=" /
// "f=" switches, and the expansion of settings-file paths read from the registry.
// Portable and pure; the Win32 shell supplies the command line and environment values.
// "Case-insensitive" here means ASCII letters only (A-Z = a-z); other characters match exactly.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// The command line without its first token (the program path) and the blanks (space, tab)
// after it. Leading blanks are skipped; the token ends at the first blank outside double quotes,
// so "C:\Program Files\x.exe" /a gives /a. Returns a view into `commandLine`.
std::u16string_view CommandLineArguments(std::u16string_view commandLine);

// The value of a switch such as "i=" found anywhere in `args` (case-insensitive, no "/" needed).
// A value starting with a double quote runs to the next quote (none: empty); otherwise it ends
// at the next space, or after the 999th character of `args` when there is none. Leading and
// trailing spaces are removed. No switch, or a switch that leaves no room before that: empty.
std::u16string SwitchValue(std::u16string_view args, std::u16string_view switchKey);

// Expands a settings-file path read from the registry. "%USERPROFILE%" anywhere (case-insensitive)
// gives AddBackslash(trimmed userProfile) + the text after the placeholder less its next character
// (normally the "\"); text before the placeholder is dropped. Else a leading ".\" becomes
// AddBackslash(tcPath). Anything else is returned unchanged.
std::u16string ExpandIniPath(std::u16string_view value, std::u16string_view tcPath, std::u16string_view userProfile);

// `path` followed by "\" unless it already ends with one; an empty text gives "\".
std::u16string AddBackslash(std::u16string_view path);

}  // namespace ombrisk
