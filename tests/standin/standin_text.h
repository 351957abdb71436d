// Text conversions at the Win32 boundary and the formatting the stand-in's log uses.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace ombrisk::standin {

// Decodes file bytes: UTF-16LE after its BOM FF FE; UTF-8 (an optional BOM is dropped) when
// they are valid UTF-8; otherwise the ANSI code page. Never fails; undecodable input gives "".
std::wstring decode_text_file(std::string_view bytes);

// ANSI code page to UTF-16, as the library's request texts arrive.
std::wstring from_ansi(std::string_view bytes);

// UTF-16 to UTF-8; "" for empty input or a failed conversion.
std::string to_utf8(std::wstring_view text);

// UTF-16 to the ANSI code page, as the library converts request texts.
std::string to_ansi(std::wstring_view text);

// "53 50 00": two upper-case hex digits per byte, separated by single spaces.
std::string hex_bytes(const void* data, std::size_t size);

// Parses a signed decimal number; false when the text is not one (value untouched).
bool parse_long(std::wstring_view text, long& value);

}  // namespace ombrisk::standin
