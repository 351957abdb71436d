#include "chores/DebugOutput.h"

#include "platform/Text.h"

#include <windows.h>

namespace ombrisk {

namespace {

void Write(std::wstring_view text) {
    // OutputDebugStringA stops at a NUL, so an embedded NUL ends the text as it would for any caller.
    const std::string ansi = ToAnsi(text);
    OutputDebugStringA(ansi.c_str());
}

}  // namespace

void DbgPrint(std::wstring_view text, bool& enabled) {
    if (EqualsIgnoringCase(text, L"[dbgon]")) {
        enabled = true;
    } else if (EqualsIgnoringCase(text, L"[dbgoff]")) {
        enabled = false;
    } else if (EqualsIgnoringCase(text, L"[dbgclear]")) {
        Write(L"DBGVIEWCLEAR");
    } else if (enabled) {
        Write(text);
    }
}

}  // namespace ombrisk
