// SetFileDateAtr: a file's three dates and its attributes, set in one call.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace ombrisk {

// One of SetFileDateAtr's values as the script passed it: omitted (given false), or given with
// its value, which is empty when it could not be read.
template <typename T>
struct FileValue {
    bool given = false;
    std::optional<T> value;
};

// Sets the file's dates (local automation dates) and attributes. A value not given, or given
// but unreadable while another date is not given, keeps the file's own; any failure gives false,
// and a read-only bit cleared on the way is put back before returning false.
bool SetFileDateAtr(const std::wstring& path, const FileValue<double>& created, const FileValue<double>& modified,
                    const FileValue<double>& accessed, const FileValue<DWORD>& attributes) noexcept;

// The file's creation, last-write and last-access times as local automation dates, whole seconds.
bool GetFileTimes(const std::wstring& path, double& created, double& modified, double& accessed);

// Writes all three times (local automation dates); false when the file cannot be opened for
// writing, a date is not a valid file time (before 1601, or the zero date), or the platform
// refuses to set the times.
bool SetFileTimes(const std::wstring& path, double created, double modified, double accessed);

}  // namespace ombrisk
