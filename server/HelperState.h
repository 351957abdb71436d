// The private state of one Helper object, in its declared order. Modules receive it by
// reference; nothing here outlives the object and nothing is saved anywhere.
#pragma once

#include <windows.h>

#include "core/CommandFile.h"
#include "host/InputAttachment.h"
#include "platform/Raii.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// Command names and numbers in file order. The names keep the file's ANSI bytes and stand one
// after another in one string (a file of many thousand commands costs two allocations, not one
// per name); a lookup by name widens them as it goes.
struct CommandTable {
    std::string names;
    std::vector<CommandEntryAt> entries;

    bool empty() const noexcept { return entries.empty(); }
    std::string_view Name(const CommandEntryAt& e) const noexcept {
        return std::string_view(names).substr(e.offset, e.length);
    }
};

struct HelperState {
    int32_t HostThreadId = 0;           // thread owning the host window bound at creation
    InputAttachment InputAttached;      // true: this thread's input is attached to HostThreadId
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
