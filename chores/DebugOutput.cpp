#include "chores/DebugOutput.h"

#include "platform/Text.h"

#include <windows.h>

namespace ombrisk {

namespace {

bool EqualsNoCase(std::wstring_view text, const wchar_t* word) {
    const int n = lstrlenW(word);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), static_cast<int>(text.size()), word, n) ==
           CSTR_EQUAL;
}

void Write(std::wstring_view text) {
    // OutputDebugStringA stops at a NUL, so an embedded NUL ends the text as it would for any caller.
    const std::string ansi = ToAnsi(text);
    OutputDebugStringA(ansi.c_str());
}

}  // namespace

void DbgPrint(std::wstring_view text, bool& enabled) {
    if (EqualsNoCase(text, L"[dbgon]")) {
        enabled = true;
    } else if (EqualsNoCase(text, L"[dbgoff]")) {
        enabled = false;
    } else if (EqualsNoCase(text, L"[dbgclear]")) {
        Write(L"DBGVIEWCLEAR");
    } else if (enabled) {
        Write(text);
    }
}

}  // namespace ombrisk
