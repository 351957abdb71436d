#include "chores/IniFiles.h"

#include "server/Errors.h"
#include "server/Variants.h"
#include "server/ListResult.h"
#include "platform/Raii.h"
#include "core/StringLists.h"
#include "platform/Text.h"
#include "platform/Wine.h"

#include <climits>
#include <new>
#include <string>

namespace ombrisk {

namespace {

constexpr std::wstring_view kNul(L"\0", 1);
constexpr std::wstring_view kCrLf(L"\r\n");

// Leading and trailing spaces removed (spaces only, as a script's Trim does).
std::wstring TrimSpaces(std::wstring s) {
    const size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    s.erase(s.find_last_not_of(L' ') + 1);
    s.erase(0, first);
    return s;
}

// An optional argument as text; an omitted one is the empty text.
std::wstring OptionalText(const VARIANT& v) { return IsMissing(v) ? std::wstring() : ToString(v); }

// A section or key name for list mode: a number becomes its digits in general number format,
// anything else is trimmed of spaces.
std::wstring ListModeName(const VARIANT& in) {
    if (IsMissing(in)) return {};
    const VARIANT& v = Deref(in);
    const VARTYPE vt = V_VT(&v) & ~VT_BYREF;
    if (vt != VT_EMPTY && vt != VT_BOOL && IsNumeric(v)) {
        UniqueVariant number;
        V_VT(number.get()) = VT_R8;
        V_R8(number.get()) = ToDouble(v);
        return ToString(*number.get());
    }
    return TrimSpaces(ToString(v));
}

// Wine's profile functions copy the file name (a bare name with the Windows folder it is looked
// for in) into a buffer of MAX_PATH characters without checking, so a longer one would overwrite
// the stack: under Wine such a name is a file that cannot exist, read as missing and never
// written. Windows sets no such limit on the name; it opens the file or fails the call itself.
bool ProfileCanTake(const std::wstring& fileName) {
    if (!RunsUnderWine()) return true;
    const std::wstring_view name(fileName.c_str());  // what the platform sees: up to a NUL
    size_t length = name.size();
    const bool bare = name.find_first_of(L"\\/") == std::wstring_view::npos && !(length >= 2 && name[1] == L':');
    if (bare) {
        wchar_t folder[MAX_PATH] = {};
        length += GetWindowsDirectoryW(folder, MAX_PATH) + 1;
    }
    return length < MAX_PATH;
}

// Null for the empty text: the profile functions read a null pointer as "absent".
const wchar_t* OrAbsent(const std::wstring& s) noexcept { return s.empty() ? nullptr : s.c_str(); }

// Doubles a buffer size, refusing sizes the profile functions cannot take.
DWORD Doubled(DWORD n) {
    if (n > static_cast<DWORD>(INT_MAX / 2)) throw std::bad_alloc();
    return n * 2;
}

void PutString(VARIANT* result, std::wstring_view text) {
    UniqueVariant out;
    V_BSTR(out.get()) = AllocBstr(text);
    V_VT(out.get()) = VT_BSTR;
    VariantClear(result);
    out.release(result);
}

void PutEmpty(VARIANT* result) { VariantClear(result); }

// A buffer size (characters) that a list of names read from file fits in at the first call:
// each name takes at least as many bytes of the file as the list takes characters for it and
// its NUL (brackets, "=" or a line end). Without it a long list is read again and again with
// doubled buffers, and the platform builds the whole list each time. A bare name, which the
// platform looks for in the Windows folder, and a missing file start small; a file beyond
// 4 Mi characters starts there and grows as before, so a huge file with a short list never
// asks for a huge buffer.
DWORD FirstListBuffer(const std::wstring& fileName) {
    constexpr DWORD kSmall = 8192;
    constexpr ULONGLONG kLargest = 1u << 22;
    const std::wstring_view name(fileName.c_str());
    const bool bare = name.find_first_of(L"\\/") == std::wstring_view::npos && !(name.size() >= 2 && name[1] == L':');
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (bare || !GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &info)) return kSmall;
    const ULONGLONG bytes = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const ULONGLONG wanted = bytes + 64;
    return wanted <= kSmall ? kSmall : static_cast<DWORD>(wanted < kLargest ? wanted : kLargest);
}

// The names of all sections (section absent) or of one section's keys: the NUL-separated list
// without the NUL after the last name, or nothing when the count is 0.
bool ReadNameList(const std::wstring& file, const wchar_t* section, const wchar_t* key, std::wstring& names) {
    for (DWORD n = FirstListBuffer(file);; n = Doubled(n)) {
        std::wstring buffer(n, L'\0');
        const DWORD offered = n - 1;
        const DWORD count = GetPrivateProfileStringW(section, key, nullptr, buffer.data(), offered, file.c_str());
        if (count == 0) return false;
        if (count == offered - 2) continue;  // the list did not fit
        buffer.resize(count - 1);
        names = std::move(buffer);
        return true;
    }
}

// GetPrivateProfileSectionW / GetPrivateProfileSectionNamesW with the retry on a full buffer:
// the first count characters, or the empty text when the count is 0.
template <typename Read>
std::wstring ReadGrowing(DWORD initial, Read&& read) {
    for (DWORD n = initial;; n = Doubled(n)) {
        std::wstring buffer(n, L'\0');
        const DWORD count = read(buffer.data(), n);
        if (count == 0) return {};
        if (count == n - 2) continue;
        buffer.resize(count);
        return buffer;
    }
}

std::wstring Upper(std::wstring s) {
    if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

}  // namespace

void IniRead(const VARIANT& file, const VARIANT& section, const VARIANT& key, const VARIANT& defaultValue,
             bool noArrayReturn, VARIANT* result) {
    const std::wstring fileName = ToString(file);
    const std::wstring sectionText = OptionalText(section);
    const std::wstring keyText = OptionalText(key);

    if (!sectionText.empty() && !keyText.empty()) {
        const std::wstring def = OptionalText(defaultValue);
        if (!ProfileCanTake(fileName)) {
            PutString(result, def);
            return;
        }
        // The value however long: a full buffer (count = offered size - 1) may hold a cut value.
        for (DWORD n = 1024;; n = Doubled(n)) {
            std::wstring buffer(n, L'\0');
            const DWORD offered = n - 1;
            const DWORD count = GetPrivateProfileStringW(sectionText.c_str(), keyText.c_str(), OrAbsent(def),
                                                         buffer.data(), offered, fileName.c_str());
            if (count + 1 >= offered) continue;
            PutString(result, std::wstring_view(buffer.data(), count));
            return;
        }
    }

    const std::wstring listSection = ListModeName(section);
    const std::wstring listKey = ListModeName(key);
    std::wstring names;
    // Without a section the key does not matter: the profile function lists the sections.
    if (!ProfileCanTake(fileName) || !ReadNameList(fileName, OrAbsent(listSection), listSection.empty() ? nullptr : OrAbsent(listKey), names)) {
        PutEmpty(result);
        return;
    }
    MakeListResult(names, kNul, noArrayReturn, result);
}

void IniReadSection(const VARIANT& file, const VARIANT& section, VARIANT* result) {
    const std::wstring fileName = ToString(file);
    const std::wstring sectionText = ToString(section);
    if (fileName.empty() || sectionText.empty() || !ProfileCanTake(fileName)) {
        PutEmpty(result);
        return;
    }
    const std::wstring entries = ReadGrowing(8192, [&](wchar_t* buffer, DWORD n) {
        return GetPrivateProfileSectionW(sectionText.c_str(), buffer, n, fileName.c_str());
    });
    if (entries.empty()) {
        PutEmpty(result);
        return;
    }
    PutString(result, AsWide(ReplaceText(AsU16(entries), AsU16(kNul), AsU16(kCrLf), CompareMode::Binary)));
}

bool IniWrite(const VARIANT& file, const VARIANT& section, const VARIANT& key, const VARIANT& value) {
    const std::wstring fileName = TrimSpaces(ToString(file));
    const std::wstring sectionText = TrimSpaces(ToString(section));
    const std::wstring keyText = TrimSpaces(ToString(key));
    const std::wstring valueText = TrimSpaces(ToString(value));
    if (!ProfileCanTake(fileName)) return false;
    return WritePrivateProfileStringW(sectionText.c_str(), keyText.c_str(), valueText.c_str(), fileName.c_str()) != FALSE;
}

bool IniWriteSection(const VARIANT& file, const VARIANT& section, const VARIANT& keysAndValues) {
    const std::wstring fileName = ToString(file);
    const std::wstring sectionText = ToString(section);
    std::u16string data = ReplaceText(AsU16(ToString(keysAndValues)), AsU16(kCrLf), AsU16(kNul), CompareMode::Binary);
    data.append(2, u'\0');
    if (!ProfileCanTake(fileName)) return false;
    return WritePrivateProfileSectionW(sectionText.c_str(), AsWide(data).data(), fileName.c_str()) != FALSE;
}

bool IniSectionExists(const VARIANT& file, const VARIANT& section) {
    const std::wstring fileName = ToString(file);
    const std::wstring sectionText = ToString(section);
    if (fileName.empty() || sectionText.empty() || !ProfileCanTake(fileName)) return false;
    const std::wstring names = ReadGrowing(2048, [&](wchar_t* buffer, DWORD n) {
        return GetPrivateProfileSectionNamesW(buffer, n, fileName.c_str());
    });
    if (names.empty()) return false;
    // Every name stands between two CR LF pairs, so a match is always a whole name.
    std::wstring haystack(kCrLf);
    haystack += AsWide(ReplaceText(AsU16(names), AsU16(kNul), AsU16(kCrLf), CompareMode::Binary));
    std::wstring needle(kCrLf);
    needle += sectionText;
    needle += kCrLf;
    return Upper(std::move(haystack)).find(Upper(std::move(needle))) != std::wstring::npos;
}

bool IniDelete(const VARIANT& file, const VARIANT& section, const VARIANT& key) {
    const std::wstring fileName = ToString(file);
    const std::wstring sectionText = ToString(section);
    const std::wstring keyText = TrimSpaces(OptionalText(key));
    if (!ProfileCanTake(fileName)) return false;
    return WritePrivateProfileStringW(sectionText.c_str(), OrAbsent(keyText), nullptr, fileName.c_str()) != FALSE;
}

}  // namespace ombrisk
