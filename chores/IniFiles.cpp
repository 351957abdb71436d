#include "chores/IniFiles.h"

#include "core/WineProfileNames.h"
#include "core/StringLists.h"
#include "platform/GrowingRead.h"
#include "platform/Text.h"
#include "platform/Wine.h"

#include <climits>
#include <new>
#include <string>

namespace ombrisk {

namespace {

constexpr std::wstring_view kNul(L"\0", 1);
constexpr std::wstring_view kCrLf(L"\r\n");

// A file name without a folder, which the profile functions look for in the Windows folder.
bool IsBareName(std::wstring_view name) noexcept {
    return name.find_first_of(L"\\/") == std::wstring_view::npos && !(name.size() >= 2 && name[1] == L':');
}

// Whether the profile functions may be given this file name (Wine overruns its buffer for a long one).
bool ProfileCanTake(const std::wstring& fileName) {
    const std::wstring_view name(fileName.c_str());  // what the platform sees: up to a NUL
    UINT folderLength = 0;
    if (IsBareName(name)) {
        wchar_t folder[MAX_PATH] = {};
        folderLength = GetWindowsDirectoryW(folder, MAX_PATH);
    }
    return !ProfileNameRefused(name.size(), folderLength, RunsUnderWine());
}

// Null for the empty text: the profile functions read a null pointer as "absent".
const wchar_t* OrAbsent(const std::wstring& s) noexcept { return s.empty() ? nullptr : s.c_str(); }

// The names of all sections (section absent) or of one section's keys: the NUL-separated list
// without the NUL after the last name, or nothing when the count is 0.
bool ReadNameList(const std::wstring& file, const wchar_t* section, const wchar_t* key, std::wstring& names) {
    auto list = ReadGrowing<std::wstring>(8192, [&](wchar_t* buffer, size_t n) {
        const DWORD offered = static_cast<DWORD>(n - 1);
        const DWORD count = GetPrivateProfileStringW(section, key, nullptr, buffer, offered, file.c_str());
        if (count == 0) return Attempt::Failed();
        if (count == offered - 2) return Attempt::Again(n * 2);  // the list did not fit
        return Attempt::Read(count - 1);
    });
    if (!list) return false;
    names = std::move(*list);
    return true;
}

// GetPrivateProfileSectionW / GetPrivateProfileSectionNamesW with the retry on a full buffer:
// the first count characters, or the empty text when the count is 0.
template <typename Read>
std::wstring ReadSectionData(DWORD initial, Read&& read) {
    return *ReadGrowing<std::wstring>(initial, [&](wchar_t* buffer, size_t n) {
        const DWORD count = read(buffer, static_cast<DWORD>(n));
        return count == n - 2 ? Attempt::Again(n * 2) : Attempt::Read(count);
    });
}

}  // namespace

std::wstring INIRead(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                     const std::wstring& defaultValue) {
    if (!ProfileCanTake(file)) return defaultValue;
    // The value however long: a full buffer (count = offered size - 1) may hold a cut value.
    return *ReadGrowing<std::wstring>(1024, [&](wchar_t* buffer, size_t n) {
        const DWORD offered = static_cast<DWORD>(n - 1);
        const DWORD count =
            GetPrivateProfileStringW(section.c_str(), key.c_str(), OrAbsent(defaultValue), buffer, offered, file.c_str());
        return count + 1 >= offered ? Attempt::Again(n * 2) : Attempt::Read(count);
    });
}

std::optional<std::wstring> INIReadNames(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    std::wstring names;
    // Without a section the key does not matter: the profile function lists the sections.
    if (!ProfileCanTake(file) || !ReadNameList(file, OrAbsent(section), section.empty() ? nullptr : OrAbsent(key), names))
        return std::nullopt;
    return names;
}

std::optional<std::wstring> INIReadSection(const std::wstring& file, const std::wstring& section) {
    if (file.empty() || section.empty() || !ProfileCanTake(file)) return std::nullopt;
    const std::wstring entries = ReadSectionData(
        8192, [&](wchar_t* buffer, DWORD n) { return GetPrivateProfileSectionW(section.c_str(), buffer, n, file.c_str()); });
    if (entries.empty()) return std::nullopt;
    return ToWide(ReplaceText(AsU16(entries), AsU16(kNul), AsU16(kCrLf)));
}

bool INIWrite(const std::wstring& file, const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    const std::wstring fileName = TrimSpaces(file);
    if (!ProfileCanTake(fileName)) return false;
    return WritePrivateProfileStringW(TrimSpaces(section).c_str(), TrimSpaces(key).c_str(), TrimSpaces(value).c_str(),
                                      fileName.c_str()) != FALSE;
}

bool INIWriteSection(const std::wstring& file, const std::wstring& section, const std::wstring& keysAndValues) {
    std::u16string data = ReplaceText(AsU16(keysAndValues), AsU16(kCrLf), AsU16(kNul));
    data.append(2, u'\0');
    if (!ProfileCanTake(file)) return false;
    return WritePrivateProfileSectionW(section.c_str(), AsWide(data).data(), file.c_str()) != FALSE;
}

bool INISectionExists(const std::wstring& file, const std::wstring& section) {
    if (file.empty() || section.empty() || !ProfileCanTake(file)) return false;
    const std::wstring names = ReadSectionData(
        2048, [&](wchar_t* buffer, DWORD n) { return GetPrivateProfileSectionNamesW(buffer, n, file.c_str()); });
    if (names.empty()) return false;
    // Every name stands between two CR LF pairs, so a match is always a whole name.
    std::wstring haystack(kCrLf);
    haystack += AsWide(ReplaceText(AsU16(names), AsU16(kNul), AsU16(kCrLf)));
    std::wstring needle(kCrLf);
    needle += section;
    needle += kCrLf;
    return UpperCase(std::move(haystack)).find(UpperCase(std::move(needle))) != std::wstring::npos;
}

bool INIDelete(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    const std::wstring keyText = TrimSpaces(key);
    if (!ProfileCanTake(file)) return false;
    return WritePrivateProfileStringW(section.c_str(), OrAbsent(keyText), nullptr, file.c_str()) != FALSE;
}

}  // namespace ombrisk
