// The private state of one Helper object, in its declared order. Modules receive it by
// reference; nothing here outlives the object and nothing is saved anywhere.
#pragma once

#include <windows.h>

#include "util/Raii.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

struct CommandEntry {
    uint32_t NameOffset = 0;  // the name is NameLength characters of CommandTable::names from here
    uint32_t NameLength = 0;
    int32_t Number = 0;
};

// Command names and numbers in file order. The names stand one after another in one string:
// a file of many thousand commands costs two allocations, not one per name.
struct CommandTable {
    std::wstring names;
    std::vector<CommandEntry> entries;

    bool empty() const noexcept { return entries.empty(); }
    std::wstring_view Name(const CommandEntry& e) const noexcept {
        return std::wstring_view(names).substr(e.NameOffset, e.NameLength);
    }
};

struct HelperState {
    int32_t HostThreadId = 0;           // thread owning the host window bound at creation
    int32_t InputAttached = 0;          // non-zero: this thread's input is attached to HostThreadId
    HWND BoundWindow = nullptr;         // host window found and marked at creation, or 0
    bool NoArrayReturn = false;         // lists come back as one CR LF joined string
    int32_t WindowMark = 0;             // value stored in the host window's mark property
    UniqueVariant Pause;                // milliseconds, kept as the script gave it
    UniqueVariant SeparatorValue;       // last value set or read through Separator
    std::wstring MainINI;
    std::wstring FTPINI;
    std::wstring TCPath;
    bool Wait = false;                  // send and wait for host commands instead of posting them
    ombrisk::CommandTable CommandTable;
    bool DebugEnabled = true;
};

}  // namespace ombrisk
