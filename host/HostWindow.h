// The host's main window: the fresh look-up nearly every member makes, the binding an object
// makes once at creation (mark, input attachment, foreground) and the check that it still holds.
#pragma once

#include <windows.h>

#include "host/InputAttachment.h"

#include <cstdint>

namespace ombrisk {

inline constexpr char kHostClass[] = "TTOTAL_CMD";
inline constexpr char kWindowMarkProperty[] = "[Signed by Helper]";

// The first top-level "TTOTAL_CMD" window the system reports, or 0. Never cached. IsRunningTC
// is true when there is one.
HWND FindHostWindow() noexcept;

// The host window an object bound at creation, with the input attachment made then. Separator
// and GetIniFiles act on it once IsBound() confirms it is still the window this object marked.
class HostBinding {
public:
    HostBinding() noexcept = default;
    HostBinding(const HostBinding&) = delete;
    HostBinding& operator=(const HostBinding&) = delete;

    // Marks the host window with the mark property (the window's own handle), attaches the host
    // thread's input to the calling thread (sharing the attachment of other objects of this
    // thread to the same host thread) and brings the host to the foreground. Binds nothing when
    // there is no host or the mark cannot be set; failures are never reported.
    void Bind() noexcept;

    // True while the bound window exists and still carries this object's mark.
    bool IsBound() const noexcept;
    HWND window() const noexcept { return window_; }

    // Leaves the input attachment; the thread is detached when no other object of it still holds
    // an attachment to that host thread. The mark stays on the host window.
    void reset() noexcept { attachment_.reset(); }

private:
    HWND window_ = nullptr;
    int32_t mark_ = 0;
    InputAttachment attachment_;
};

// LockTC: suspends (lock true) or resumes and redraws (lock false) the host's drawing.
bool LockTC(bool lock) noexcept;

}  // namespace ombrisk
