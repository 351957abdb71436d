#include "host/HostWindow.h"

namespace ombrisk {

HWND FindHostWindow() noexcept { return FindWindowA(kHostClass, nullptr); }

void BindHostWindow(HelperState& state) noexcept {
    HWND h = FindHostWindow();
    if (!h) return;
    state.WindowMark = static_cast<int32_t>(reinterpret_cast<intptr_t>(h));
    if (!SetPropA(h, kWindowMarkProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(state.WindowMark)))) {
        state.BoundWindow = nullptr;
        return;
    }
    state.BoundWindow = h;
    state.HostThreadId = static_cast<int32_t>(GetWindowThreadProcessId(h, nullptr));
    state.InputAttached = InputAttachment::Attach(static_cast<DWORD>(state.HostThreadId), AttachOrder::HostToCaller);
    SetForegroundWindow(h);
}

bool IsHostBound(const HelperState& state) noexcept {
    if (!state.BoundWindow || !IsWindow(state.BoundWindow)) return false;
    const auto mark = reinterpret_cast<intptr_t>(GetPropA(state.BoundWindow, kWindowMarkProperty));
    return static_cast<int32_t>(mark) == state.WindowMark;
}

void DetachHostInput(HelperState& state) noexcept { state.InputAttached.reset(); }

bool LockHostWindow(bool lock) noexcept {
    HWND h = FindHostWindow();
    if (!h) return false;
    if (lock) return LockWindowUpdate(h) != FALSE;
    const bool released = LockWindowUpdate(nullptr) != FALSE;
    InvalidateRect(h, nullptr, TRUE);
    return released;
}

}  // namespace ombrisk
