// Registry values, read and written through the wide registry functions so that text
// outside the ANSI code page survives.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ombrisk {

// A value's type and its bytes exactly as stored.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The value valueName (empty: the default value) of keyPath under root as text: REG_SZ as its
// text up to the first NUL, REG_BINARY as the decimal of its first two bytes read as a signed
// little-endian 16-bit integer. Missing key or value, or any other type: the empty text.
// view: 0 for this process's registry view, or KEY_WOW64_32KEY / KEY_WOW64_64KEY.
std::wstring ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, REGSAM view = 0);

// The value's type and bytes; nullopt when the key or the value is missing or cannot be read.
std::optional<RegistryValue> ReadRegRaw(HKEY root, const std::wstring& keyPath, const std::wstring& valueName);

// Stores value's bytes with its type under root\keyPath, creating the key; false on failure.
bool WriteRegRaw(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, const RegistryValue& value) noexcept;

}  // namespace ombrisk
