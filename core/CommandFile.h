// The command-definition file ("totalcmd.inc") and its number reader. Portable: no windows.h.
// Lines of the form `Name = Number ;comment`; the Win32 shell reads the file and converts names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// One defining line. `name` holds the file's ANSI bytes (trimmed of U+0020 only, case kept);
// the shell converts it to UTF-16.
struct CommandEntryA {
    std::string name;
    int32_t number = 0;

    bool operator==(const CommandEntryA&) const = default;
};

// The same line by position, for a table that keeps the file's bytes: its name is the `length`
// bytes from `offset`. What creation uses, without a string per name.
struct CommandEntryAt {
    uint32_t offset = 0;
    uint32_t length = 0;
    int32_t number = 0;

    bool operator==(const CommandEntryAt&) const = default;
};

enum class NumberStatus { Ok, Overflow };

// Reads the number at the start of `text`: blanks (space, tab, LF) skipped anywhere, optional
// sign, decimal with point and E/D exponent, or &H / &O digits; the first other character ends
// it. No number gives 0. Rounds to nearest, halves to even. Overflow when outside int32 after
// rounding; `value` is then left unchanged.
NumberStatus ReadCommandNumber(std::string_view text, int32_t& value);

enum class CommandFileStatus { Ok, Overflow };

// Fills `table` from the whole file (lines end at CR or CR LF; a lone LF stays in the line).
// A file with no "=" line leaves `table` as it was; otherwise `table` ends up holding the file's
// entries with non-zero numbers, plus a trailing zero entry if the last defining line had 0.
// A number out of range stops the parse: the entries before that line stay, its own element is
// dropped, and Overflow is returned (creation ignores it, LoadIncFile raises it).
CommandFileStatus ParseCommandFile(std::string_view fileBytes, std::vector<CommandEntryA>& table);
// The same by position; fileBytes must be shorter than 4 GiB.
CommandFileStatus ParseCommandFile(std::string_view fileBytes, std::vector<CommandEntryAt>& table);

// The names of `table` (positions in `fileBytes`, as ParseCommandFile gives them) one after
// another in a string of their own; the positions are changed to positions in it.
std::string CollectCommandNames(std::string_view fileBytes, std::vector<CommandEntryAt>& table);

}  // namespace ombrisk
