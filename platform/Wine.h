// What the library does only because of Wine 8, where one routine chooses by platform: the
// run-time detection and the switches. The stand-ins for Wine's faults live in files named for
// Wine too (core/WineFormat, core/WineProfileNames, chores/WineFormatAny); docs/wine.md maps
// each to what Wine gets wrong. When Wine is fixed, these go and nothing else.
#pragma once

#include <windows.h>

namespace ombrisk {

// True when ntdll exports wine_get_version. Read once per process.
bool RunsUnderWine() noexcept;

// The owner to open the clipboard with before putting data on it: window (a window of this
// thread; setting data after emptying needs an owner), or none under Wine, whose
// GetClipboardData leaks 1 KB on every read of data that a window of the reading process owns
// (Wine, unlike Windows, accepts data set without an owner).
HWND ClipboardDataOwner(HWND window) noexcept;

// Which thread's input is attached to which: AttachThreadInput(host, caller) or (caller, host).
// Windows shares one input state either way; under Wine the object binding works only with the
// first and a call that attaches for itself only with the second.
enum class AttachOrder { HostToCaller, CallerToHost };

}  // namespace ombrisk
