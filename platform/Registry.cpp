#include "platform/Registry.h"

#include "core/RegistryData.h"
#include "platform/GrowingRead.h"
#include "platform/Raii.h"
#include "platform/Text.h"

namespace ombrisk {

namespace {

std::optional<RegistryValue> QueryRaw(HKEY key, const std::wstring& valueName) {
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    // The value may grow between the calls: asked again with the size the platform reports.
    int attempts = 0;
    auto data = ReadGrowing<std::vector<BYTE>>(size, [&](BYTE* bytes, size_t offered) {
        DWORD got = static_cast<DWORD>(offered);
        const LONG rc = RegQueryValueExW(key, valueName.c_str(), nullptr, &value.type, offered ? bytes : nullptr, &got);
        if (rc == ERROR_SUCCESS) return Attempt::Read(got);
        if (rc != ERROR_MORE_DATA || ++attempts == 4) return Attempt::Failed();
        return Attempt::Again(got > offered ? got : offered + 256);
    });
    if (!data) return std::nullopt;
    value.data = std::move(*data);
    return value;
}

UniqueHkey OpenForQuery(HKEY root, const std::wstring& keyPath, REGSAM view) {
    UniqueHkey key;
    RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, key.put());
    return key;
}

}  // namespace

std::wstring ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, REGSAM view) {
    // A key that did not open leaves the handle 0, and the query then finds nothing.
    const UniqueHkey key = OpenForQuery(root, keyPath, view);
    if (!key) return {};
    const std::optional<RegistryValue> value = QueryRaw(key.get(), valueName);
    if (!value) return {};
    return ToWide(RegistryValueText(value->type, value->data));
}

std::optional<RegistryValue> ReadRegRaw(HKEY root, const std::wstring& keyPath, const std::wstring& valueName) {
    const UniqueHkey key = OpenForQuery(root, keyPath, 0);
    if (!key) return std::nullopt;
    return QueryRaw(key.get(), valueName);
}

bool WriteRegRaw(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                 const RegistryValue& value) noexcept {
    // For a string type whose last character is not NUL, the platform looks at the character
    // just past the given size and, when that one is NUL, stores it too. A non-NUL sentinel
    // after the bytes keeps both that read inside the buffer and the stored bytes exact.
    std::vector<BYTE> buffer;
    try {
        buffer.reserve(value.data.size() + 3);
        buffer.assign(value.data.begin(), value.data.end());
        buffer.insert(buffer.end(), {0xFF, 0xFF, 0xFF});
    } catch (...) {
        return false;
    }
    UniqueHkey key;
    if (RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.get(), valueName.c_str(), 0, value.type, buffer.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

}  // namespace ombrisk
