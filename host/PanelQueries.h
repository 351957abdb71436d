// What the host tells about its panels: information requests ("GW", answered with "RW") and a
// panel's filter as its path bar shows it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ombrisk {

// GetInfo to a running host: sends the request text upper-cased and returns the host's answer to
// it; the empty text when no "RW" answer arrived while the request was handled, or the host did
// not handle it within 10 s (or was hung). The caller has found the host: a script's request is
// converted to text only once a host runs.
std::wstring GetInfo(HWND host, std::wstring_view request);

// GetSrcPath / GetTrgPath: the "SP" / "TP" answers; the empty text when no host runs.
std::wstring GetSrcPath();
std::wstring GetTrgPath();

// GetFilter of a running host: the filter of panel side L, R, S (source) or T (target), any
// case: what the panel's path bar shows after the panel's path; the empty text for any other side.
std::wstring GetFilter(HWND host, std::wstring_view side);

}  // namespace ombrisk
