// INI files through the platform's private-profile functions (W forms). Arguments are the
// script's variants, converted to text here (Null raises 94). Missing files and sections are
// ordinary results (the default, Empty, false), never errors.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace ombrisk {

// INIRead: a value (Section and Key given) or the names of the sections / of a section's keys
// as a list result. result is written (the caller initialised it).
void IniRead(const VARIANT& file, const VARIANT& section, const VARIANT& key, const VARIANT& defaultValue,
             bool noArrayReturn, VARIANT* result);
// INIReadSection: the section's key=value lines, each ended by CR LF, or Empty.
void IniReadSection(const VARIANT& file, const VARIANT& section, VARIANT* result);
bool IniWrite(const VARIANT& file, const VARIANT& section, const VARIANT& key, const VARIANT& value);
bool IniWriteSection(const VARIANT& file, const VARIANT& section, const VARIANT& keysAndValues);
bool IniSectionExists(const VARIANT& file, const VARIANT& section);
bool IniDelete(const VARIANT& file, const VARIANT& section, const VARIANT& key);

}  // namespace ombrisk
