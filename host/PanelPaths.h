// Panel directory changes: one "CD" request to the host.
#pragma once

#include <string>

namespace ombrisk {

// SetSrcPath / SetTrgPath / SetLeftPath / SetRightPath: opens path in that panel (in a new tab
// when inNewTab). An empty path is true without looking for the host. No host: false. Otherwise
// true when the host handled the request in time and returned 0.
bool SetSrcPath(const std::wstring& path, bool inNewTab);
bool SetTrgPath(const std::wstring& path, bool inNewTab);
bool SetLeftPath(const std::wstring& path, bool inNewTab);
bool SetRightPath(const std::wstring& path, bool inNewTab);

}  // namespace ombrisk
