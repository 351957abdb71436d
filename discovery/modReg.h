// modReg: registry values as text, through the ANSI registry functions.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

// The value valueName (empty: the default value) of keyPath under root as text: REG_SZ as its
// text up to the first NUL, REG_BINARY as the decimal of its first two bytes read as a signed
// little-endian 16-bit integer. Missing key or value, or any other type: the empty text.
// view: 0 for this process's registry view, or KEY_WOW64_32KEY / KEY_WOW64_64KEY.
std::wstring ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, REGSAM view = 0);

// Stores value as REG_SZ (ANSI) under root\keyPath, creating the key; failures are ignored.
void WriteRegString(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& value);

}  // namespace ombrisk
