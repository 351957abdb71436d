#include "discovery/modReg.h"

#include "util/Raii.h"
#include "util/Text.h"

#include <cstdint>
#include <vector>

namespace ombrisk {

namespace {

std::wstring QueryValueText(HKEY key, const std::string& valueName) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_BINARY) return {};
    // The whole value is read, however long, so that nothing is written past the buffer.
    std::vector<BYTE> data(size + 2, 0);
    DWORD got = size;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data.data(), &got) != ERROR_SUCCESS) return {};
    if (type == REG_SZ) {
        const auto* text = reinterpret_cast<const char*>(data.data());
        return FromAnsi(std::string(text, strnlen(text, got)));
    }
    if (type == REG_BINARY) {
        const int16_t value = static_cast<int16_t>(data[0] | (data[1] << 8));
        return std::to_wstring(value);
    }
    return {};
}

}  // namespace

std::wstring ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, REGSAM view) {
    UniqueHkey key;
    RegOpenKeyExA(root, ToAnsi(keyPath).c_str(), 0, KEY_QUERY_VALUE | view, key.put());
    // A key that did not open leaves the handle 0, and the query then finds nothing.
    if (!key) return {};
    return QueryValueText(key.get(), ToAnsi(valueName));
}

void WriteRegString(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& value) {
    UniqueHkey key;
    if (RegCreateKeyA(root, ToAnsi(keyPath).c_str(), key.put()) != ERROR_SUCCESS) return;
    const std::string data = ToAnsi(value);
    RegSetValueExA(key.get(), ToAnsi(valueName).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
}

}  // namespace ombrisk
