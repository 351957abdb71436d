#include "host/Separator.h"

#include "chores/Tooltips.h"
#include "core/SeparatorMath.h"
#include "platform/Raii.h"

#include <optional>

namespace ombrisk {

namespace {

constexpr long kSeparatorMaxWidth = 4;

struct SeparatorPanel {
    HWND hwnd;
    RECT rect;  // screen coordinates
};

std::optional<SeparatorPanel> FindSeparatorPanel(HWND host) {
    HWND first = FindWindowExA(host, nullptr, "TPanel", nullptr);
    RECT firstRect{};
    if (!first || !GetWindowRect(first, &firstRect)) return std::nullopt;
    if (firstRect.right - firstRect.left <= kSeparatorMaxWidth) return SeparatorPanel{first, firstRect};
    HWND second = FindWindowExA(host, first, "TPanel", nullptr);
    RECT secondRect{};
    if (!second || !GetWindowRect(second, &secondRect)) return SeparatorPanel{first, firstRect};
    if (secondRect.right - secondRect.left <= kSeparatorMaxWidth) return SeparatorPanel{second, secondRect};
    return std::nullopt;
}

void SetTopMost(HWND window, bool onTop) {
    SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void AbsoluteMouse(POINT& p) {
    long x = p.x, y = p.y;
    ToAbsoluteMouseCoords(x, y, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    p.x = x;
    p.y = y;
}

void MouseEvent(DWORD flags, LONG x, LONG y) {
    mouse_event(flags, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, static_cast<ULONG_PTR>(GetMessageExtraInfo()));
}

}  // namespace

std::optional<float> GetSeparator(const HostBinding& host) {
    RECT client{};
    if (!host.IsBound() || !GetClientRect(host.window(), &client) || client.right <= 0) return std::nullopt;
    const auto panel = FindSeparatorPanel(host.window());
    if (!panel) return std::nullopt;
    POINT corner{panel->rect.left, panel->rect.top};
    ScreenToClient(host.window(), &corner);
    return SeparatorPercent(static_cast<double>(corner.x + 2) / static_cast<double>(client.right));
}

void SetSeparator(const HostBinding& binding, double percent) {
    if (!binding.IsBound()) return;  // another host's window is neither dragged nor swept
    HWND host = binding.window();
    RECT client{};
    if (GetClientRect(host, &client)) {
        SetTopMost(host, true);
        ScopeExit lower([&] { SetTopMost(host, false); });
        std::optional<POINT> savedCursor;
        if (const auto panel = FindSeparatorPanel(host)) {
            const LONG y = panel->rect.top + panel->rect.bottom / 15;
            POINT start{panel->rect.left + 2, y};
            AbsoluteMouse(start);
            POINT cursor{};
            if (GetCursorPos(&cursor)) savedCursor = cursor;
            MouseEvent(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE, start.x, start.y);
            const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
            MouseEvent(swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0);
            // SeparatorEndX clamps the percentage to 0..100.
            POINT end{SeparatorEndX(percent, client.right), y};
            ClientToScreen(host, &end);
            AbsoluteMouse(end);
            MouseEvent(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                       end.x, end.y);
            MouseEvent(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0);
        }
        lower.reset();
        if (savedCursor) SetCursorPos(savedCursor->x, savedCursor->y);
    }
    ClosePercentTooltips();
}

}  // namespace ombrisk
