// The INI members, through the platform's private-profile functions (W forms). Missing files and
// sections are ordinary results (the default, nothing, false), never errors.
#pragma once

#include <optional>
#include <string>

namespace ombrisk {

// INIRead with a section and a key: the value, however long, or defaultValue.
std::wstring INIRead(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                     const std::wstring& defaultValue);
// INIRead without them: the names of the sections (section empty) or of a section's keys,
// NUL-separated without a final NUL; nothing when there are none.
std::optional<std::wstring> INIReadNames(const std::wstring& file, const std::wstring& section, const std::wstring& key);
// INIReadSection: the section's key=value lines, each ended by CR LF; nothing when empty or missing.
std::optional<std::wstring> INIReadSection(const std::wstring& file, const std::wstring& section);
// INIWrite: file, section, key and value trimmed of spaces.
bool INIWrite(const std::wstring& file, const std::wstring& section, const std::wstring& key, const std::wstring& value);
// INIWriteSection: keysAndValues is key=value lines separated by CR LF.
bool INIWriteSection(const std::wstring& file, const std::wstring& section, const std::wstring& keysAndValues);
// INISectionExists: a whole section name, without regard to case.
bool INISectionExists(const std::wstring& file, const std::wstring& section);
// INIDelete: the key (trimmed), or the whole section when key is empty.
bool INIDelete(const std::wstring& file, const std::wstring& section, const std::wstring& key);

}  // namespace ombrisk
