// The private state of one Helper object, in its declared order. Modules receive it by
// reference; nothing here outlives the object and nothing is saved anywhere.
#pragma once

#include <windows.h>

#include "util/Raii.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ombrisk {

struct CommandEntry {
    std::wstring Name;
    int32_t Number = 0;
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
    std::vector<CommandEntry> CommandTable;
    bool DebugEnabled = true;
};

}  // namespace ombrisk
