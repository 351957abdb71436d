#include "chores/FileDates.h"

#include "platform/Raii.h"

#include <optional>

namespace ombrisk {

namespace {

// A local automation date as a UTC file time; nothing for dates the platform cannot represent
// (before 1601) and for the zero date, which is what an argument that could not be converted
// leaves when the file's own times were not read.
std::optional<FILETIME> ToFileTime(double date) {
    if (date == 0) return std::nullopt;
    SYSTEMTIME st = {};
    if (!VariantTimeToSystemTime(date, &st)) return std::nullopt;
    st.wDayOfWeek = 0;
    st.wMilliseconds = 0;
    FILETIME local = {}, utc = {};
    if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return std::nullopt;
    return utc;
}

double ToLocalDate(const FILETIME& utc) {
    FILETIME local = {};
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    st.wMilliseconds = 0;
    double date = 0;
    SystemTimeToVariantTime(&st, &date);
    return date;
}

}  // namespace

bool GetFileTimes(const std::wstring& path, double& created, double& modified, double& accessed) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    FILETIME creation = {}, lastAccess = {}, lastWrite = {};
    if (!GetFileTime(file.get(), &creation, &lastAccess, &lastWrite)) return false;
    created = ToLocalDate(creation);
    modified = ToLocalDate(lastWrite);
    accessed = ToLocalDate(lastAccess);
    return true;
}

bool SetFileTimes(const std::wstring& path, double created, double modified, double accessed) {
    const std::optional<FILETIME> creation = ToFileTime(created);
    const std::optional<FILETIME> lastWrite = ToFileTime(modified);
    const std::optional<FILETIME> lastAccess = ToFileTime(accessed);
    if (!creation || !lastWrite || !lastAccess) return false;
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    // The platform may refuse the times (a file system or share that keeps no such dates, a
    // driver that denies the change): the caller then reports that nothing was set.
    return SetFileTime(file.get(), &*creation, &*lastAccess, &*lastWrite) != FALSE;
}

bool SetFileDateAtr(const std::wstring& path, const FileValue<double>& created, const FileValue<double>& modified,
                    const FileValue<double>& accessed, const FileValue<DWORD>& attributes) noexcept {
    try {
        if (path.empty()) return false;
        const DWORD original = GetFileAttributesW(path.c_str());
        if (original == INVALID_FILE_ATTRIBUTES) return false;
        // A read-only file is made writable for the change; every failure after this point puts
        // the attributes back, so a refused call never leaves the file writable.
        bool restore = false;
        ScopeExit putBack([&] {
            if (restore) SetFileAttributesW(path.c_str(), original);
        });
        if (original & FILE_ATTRIBUTE_READONLY) {
            if (!SetFileAttributesW(path.c_str(), original & ~FILE_ATTRIBUTE_READONLY)) return false;
            restore = true;
        }

        // The file's own times stand for the values not given; with all three given, a value that
        // could not be read leaves the zero date, which no file time can be.
        double times[3] = {0, 0, 0};  // created, modified, accessed
        const FileValue<double>* args[3] = {&created, &modified, &accessed};
        if (!created.given || !modified.given || !accessed.given) {
            if (!GetFileTimes(path, times[0], times[1], times[2])) return false;
        }
        for (int i = 0; i < 3; ++i)
            if (args[i]->given && args[i]->value) times[i] = *args[i]->value;
        const DWORD wanted = attributes.given && attributes.value ? *attributes.value : original;

        if (!SetFileTimes(path, times[0], times[1], times[2])) return false;
        if (!SetFileAttributesW(path.c_str(), wanted)) return false;
        restore = false;
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace ombrisk
