// The host's main window: the fresh look-up nearly every operation makes, the binding made
// once at creation (mark, input attachment, foreground) and the check that it still holds.
#pragma once

#include <windows.h>

#include "server/HelperState.h"

namespace ombrisk {

inline constexpr char kHostClass[] = "TTOTAL_CMD";
inline constexpr char kWindowMarkProperty[] = "[Signed by Helper]";

// The first top-level "TTOTAL_CMD" window the system reports, or 0. Never cached.
HWND FindHostWindow() noexcept;

// Marks the host window with this object's property, attaches the host thread's input to the
// calling thread (sharing the attachment of other objects of this thread to the same host
// thread) and brings the host to the foreground. Leaves the four host fields 0 when
// there is no host; failures are folded into the fields, never reported.
void BindHostWindow(HelperState& state) noexcept;

// True while BoundWindow exists and still carries this object's mark.
bool IsHostBound(const HelperState& state) noexcept;

// Leaves the input attachment made by BindHostWindow; the thread is detached when no other
// object of it still holds an attachment to that host thread.
void DetachHostInput(HelperState& state) noexcept;

// LockTC: suspends (lock true) or resumes and redraws (lock false) the host's drawing.
bool LockHostWindow(bool lock) noexcept;

}  // namespace ombrisk
