// Which file names the platform's profile functions (the INI members) may be given. Portable and
// pure; the Win32 shell supplies the lengths and whether it runs under Wine.
#pragma once

#include <cstddef>

namespace ombrisk {

// The longest path, terminator included, that Wine's profile functions hold for a file name.
inline constexpr std::size_t kProfilePathBuffer = 260;

// Whether a file name of nameLength characters (up to its first NUL) is kept away from the
// profile functions. Wine copies the name, with the Windows folder (folderLength characters) and
// a backslash before it when the name is bare (folderLength 0: the name has a folder of its
// own), into kProfilePathBuffer characters without checking: under Wine a longer name is refused
// and treated as a file that does not exist. Windows takes any length and fails the call itself.
bool ProfileNameRefused(std::size_t nameLength, std::size_t folderLength, bool underWine) noexcept;

}  // namespace ombrisk
