// modFileTime: a file's dates and attributes, set in one call from values or from a script's
// file object (type name "File"), read by late binding.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace ombrisk {

// SetFileDateAtr. Omitted arguments are VT_ERROR DISP_E_PARAMNOTFOUND (or null pointers).
// Never raises: an argument that cannot be used is skipped; any failure gives false, and a
// read-only bit cleared on the way is put back before returning false.
bool SetFileDateAtr(const VARIANT* file, const VARIANT* created, const VARIANT* modified, const VARIANT* accessed,
                    const VARIANT* attributes) noexcept;

// The file's creation, last-write and last-access times as local automation dates, whole seconds.
bool GetFileTimes(const std::wstring& path, double& created, double& modified, double& accessed);

// Writes all three times (local automation dates); false when the file cannot be opened for
// writing, a date is not a valid file time (before 1601, or the zero date), or the platform
// refuses to set the times.
bool SetFileTimes(const std::wstring& path, double created, double modified, double accessed);

}  // namespace ombrisk
