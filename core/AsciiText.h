// Small text helpers the portable core needs in many places: ASCII case folding, comparison and
// search without ASCII case, UTF-16 surrogate tests and trimming of spaces. Only the letters A-Z
// and a-z change case; every other unit (other bytes, non-ASCII UTF-16 units) compares exactly.
// Portable: no windows.h. The same functions serve ANSI bytes (char) and UTF-16 (char16_t).
#pragma once

#include <cstddef>
#include <string_view>

namespace ombrisk {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c; }
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c; }
constexpr char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c; }

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

namespace ascii_detail {

template <class Char>
constexpr bool EqualsNoCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

template <class Char>
constexpr size_t FindNoCase(std::basic_string_view<Char> hay, std::basic_string_view<Char> needle, size_t from) {
    if (needle.size() > hay.size() || from > hay.size() - needle.size()) return hay.npos;
    for (size_t i = from, last = hay.size() - needle.size(); i <= last; ++i) {
        size_t k = 0;
        while (k < needle.size() && AsciiLower(hay[i + k]) == AsciiLower(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return hay.npos;
}

template <class Char>
constexpr std::basic_string_view<Char> TrimSpaces(std::basic_string_view<Char> s) {
    while (!s.empty() && s.front() == Char(' ')) s.remove_prefix(1);
    while (!s.empty() && s.back() == Char(' ')) s.remove_suffix(1);
    return s;
}

}  // namespace ascii_detail

// Same length and the same units but for the case of ASCII letters.
constexpr bool EqualsNoCase(std::string_view a, std::string_view b) { return ascii_detail::EqualsNoCase(a, b); }
constexpr bool EqualsNoCase(std::u16string_view a, std::u16string_view b) { return ascii_detail::EqualsNoCase(a, b); }

// The first position at or after `from` where `needle` stands, ASCII letters compared without
// case; npos when there is none. An empty needle is found at `from` when from <= hay.size().
constexpr size_t FindNoCase(std::string_view hay, std::string_view needle, size_t from = 0) {
    return ascii_detail::FindNoCase(hay, needle, from);
}
constexpr size_t FindNoCase(std::u16string_view hay, std::u16string_view needle, size_t from = 0) {
    return ascii_detail::FindNoCase(hay, needle, from);
}

// True when `needle` occurs in `haystack`, ASCII letters compared without case (other units
// exactly). An empty needle is always found.
constexpr bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    return FindNoCase(haystack, needle) != std::string_view::npos;
}
constexpr bool ContainsNoCase(std::u16string_view haystack, std::u16string_view needle) {
    return FindNoCase(haystack, needle) != std::u16string_view::npos;
}

// `s` without the U+0020 spaces at either end; tabs and other blanks are kept.
constexpr std::string_view TrimSpaces(std::string_view s) { return ascii_detail::TrimSpaces(s); }
constexpr std::u16string_view TrimSpaces(std::u16string_view s) { return ascii_detail::TrimSpaces(s); }

}  // namespace ombrisk
