#include "host/HostWindow.h"

namespace ombrisk {

HWND FindHostWindow() noexcept { return FindWindowA(kHostClass, nullptr); }

void HostBinding::Bind() noexcept {
    HWND h = FindHostWindow();
    if (!h) return;
    mark_ = static_cast<int32_t>(reinterpret_cast<intptr_t>(h));
    if (!SetPropA(h, kWindowMarkProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(mark_)))) return;
    window_ = h;
    attachment_ = InputAttachment::Attach(h, AttachOrder::HostToCaller);
    SetForegroundWindow(h);
}

bool HostBinding::IsBound() const noexcept {
    if (!window_ || !IsWindow(window_)) return false;
    const auto mark = reinterpret_cast<intptr_t>(GetPropA(window_, kWindowMarkProperty));
    return static_cast<int32_t>(mark) == mark_;
}

bool LockTC(bool lock) noexcept {
    HWND h = FindHostWindow();
    if (!h) return false;
    if (lock) return LockWindowUpdate(h) != FALSE;
    const bool released = LockWindowUpdate(nullptr) != FALSE;
    InvalidateRect(h, nullptr, TRUE);
    return released;
}

}  // namespace ombrisk
