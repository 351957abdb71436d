// Information requests ("GW", answered with "RW") and panel directory changes ("CD").
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace ombrisk {

// GetInfo: sends the request text upper-cased and returns the host's answer to it; the empty
// text when no host runs, no "RW" answer arrived while the request was handled, or the host did
// not handle it within 10 s (or was hung).
std::wstring GetHostInfo(const VARIANT& request);

// SetPanelPaths: one "CD" request. path1 is the left or source panel's path, path2 the right or
// target panel's; leftRight false names source/target. Both empty: true without looking for the
// host. No host: false. Otherwise true when the host handled the request in time and returned 0.
bool SetPanelPaths(const std::wstring& path1, const std::wstring& path2, bool leftRight, bool inNewTab);

// UserCmd: runs a user-defined command by name with an "EM" request; true when the host handled
// it in time and returned 0. Waits Pause \ 2 after the request.
bool RunUserCommand(const std::wstring& name, const VARIANT& pause);

}  // namespace ombrisk
