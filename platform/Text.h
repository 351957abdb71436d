// Text at the platform boundary: BSTRs, the ANSI code page, upper case, window texts, and the char16_t
// views the portable core works on (wchar_t is UTF-16 on Windows, so the views alias).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "core/AsciiText.h"

#include <string>
#include <string_view>

namespace ombrisk {

// UTF-16 to the system ANSI code page and back (CP_ACP, as the platform's A functions use).
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);
// Appends FromAnsi(text) to out.
void AppendFromAnsi(std::wstring& out, std::string_view text);

inline std::u16string_view AsU16(std::wstring_view s) noexcept {
    return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}
// True when a and b are equal without regard to case, by the rules of the user's language
// (CompareStringW with NORM_IGNORECASE).
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;

// text in upper case by the platform's rules for the user's language (CharUpperBuffW).
std::wstring UpperCase(std::wstring text);

// A window's text read with the wide functions (a caption or path outside the ANSI code page
// survives); the empty text for a null window or one without text.
std::wstring WindowText(HWND window);

inline std::wstring_view AsWide(std::u16string_view s) noexcept {
    return {reinterpret_cast<const wchar_t*>(s.data()), s.size()};
}
inline std::wstring ToWide(std::u16string_view s) { return std::wstring(AsWide(s)); }

// text without leading and trailing spaces (spaces only, as a script's Trim does).
inline std::wstring TrimSpaces(std::wstring_view text) { return ToWide(TrimSpaces(AsU16(text))); }
inline std::u16string ToU16(std::wstring_view s) { return std::u16string(AsU16(s)); }

}  // namespace ombrisk
