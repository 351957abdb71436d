#include "host/Separator.h"

#include "host/Tooltips.h"
#include "core/SeparatorMath.h"
#include "platform/Messages.h"
#include "platform/Raii.h"
#include "platform/Wait.h"

#include <optional>

namespace ombrisk {

namespace {

// The thread's DPI switch (Windows 10 1607 on) and the monitor scale (Windows 8.1 on) are
// found at run time; without the switch everything stays in the script host's own pixels.
using SetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)(HANDLE);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
const auto kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const auto kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
constexpr unsigned kDefaultDpi = 96;
// How long the cursor waits to go back for a host that is slow to take the drag's release.
constexpr int32_t kReleaseWaitMs = 1000;

SetThreadDpiAwarenessContextFn DpiSwitch() noexcept {
    static const auto fn = reinterpret_cast<SetThreadDpiAwarenessContextFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    return fn;
}

// This thread in per-monitor DPI awareness for the guard's lifetime, so that window
// rectangles, metrics and mouse points are all physical pixels on every monitor; without the
// switch the thread keeps the script host's own pixels.
class PhysicalPixels {
public:
    PhysicalPixels() noexcept {
        if (const auto set = DpiSwitch()) {
            previous_ = set(kPerMonitorAwareV2);
            if (!previous_) previous_ = set(kPerMonitorAware);
        }
    }
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;
    ~PhysicalPixels() {
        if (previous_) DpiSwitch()(previous_);
    }
    // Whether the thread switched: only then are the monitor's dots per inch the ones to use.
    bool switched() const noexcept { return previous_ != nullptr; }

private:
    HANDLE previous_ = nullptr;
};

// The scale of the monitor showing window, as dots per inch (96 = 100 %); 96 when unknown.
unsigned MonitorDpi(HWND window) noexcept {
    // shcore stays loaded once loaded: the function pointer is kept for the process.
    static const auto get = [] {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (!get || FAILED(get(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) || x == 0)
        return kDefaultDpi;
    return x;
}

struct SeparatorPanel {
    HWND hwnd;
    RECT rect;  // screen coordinates
};

std::optional<SeparatorPanel> FindSeparatorPanel(HWND host, long maxWidth) {
    HWND first = FindWindowExA(host, nullptr, "TPanel", nullptr);
    RECT firstRect{};
    if (!first || !GetWindowRect(first, &firstRect)) return std::nullopt;
    if (firstRect.right - firstRect.left <= maxWidth) return SeparatorPanel{first, firstRect};
    HWND second = FindWindowExA(host, first, "TPanel", nullptr);
    RECT secondRect{};
    if (!second || !GetWindowRect(second, &secondRect)) return SeparatorPanel{first, firstRect};
    if (secondRect.right - secondRect.left <= maxWidth) return SeparatorPanel{second, secondRect};
    return std::nullopt;
}

void SetTopMost(HWND window, bool onTop) {
    SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

PixelRect VirtualDesktop() {
    const long left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void MouseEvent(DWORD flags, PixelPoint at = {}) {
    mouse_event(flags, static_cast<DWORD>(at.x), static_cast<DWORD>(at.y), 0, static_cast<ULONG_PTR>(GetMessageExtraInfo()));
}

// Returns once the host's thread has read the drag's press and release from its queue, which
// fixes the release's place, and has answered a message sent after them, so that the cursor
// put back afterwards neither moves the release nor meets a host still busy with the drag; a
// host that takes longer than kReleaseWaitMs for either is not waited for. The button's key
// state this thread shares with the host through its input attachment shows what the host has
// read: its toggle bit changes with the press, its down bit goes with the release. The
// system's own state (without an attachment) only shows that the events were injected.
void WaitForHostToTakeRelease(HWND host, int physicalButton, const InputAttachment& attachment, SHORT before) {
    if (attachment)
        WaitUntil(
            [&] {
                const SHORT now = GetKeyState(physicalButton);
                return (now & 1) != (before & 1) && (now & 0x8000) == 0;
            },
            kReleaseWaitMs);
    else WaitUntil([&] { return (GetAsyncKeyState(physicalButton) & 0x8000) == 0; }, kReleaseWaitMs);
    SendWithin(host, WM_NULL, 0, 0, kReleaseWaitMs);
}

// The drag of the bar to percent of the client width, with the primary mouse button.
void DragSeparator(HWND host, const SeparatorPanel& panel, long clientWidth, double percent, unsigned dpi) {
    POINT origin{0, 0};
    ClientToScreen(host, &origin);
    const PixelRect bar{panel.rect.left, panel.rect.top, panel.rect.right, panel.rect.bottom};
    const SeparatorDrag drag = PlanSeparatorDrag(bar, origin.x, clientWidth, percent, dpi, GetSystemMetrics(SM_CYDOUBLECLK));
    const PixelRect desktop = VirtualDesktop();
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    const DWORD down = swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const int button = swapped ? VK_RBUTTON : VK_LBUTTON;
    // Joins the attachment the object made at creation, or attaches for the drag.
    const InputAttachment attachment = InputAttachment::Attach(host, AttachOrder::CallerToHost);
    const SHORT before = GetKeyState(button);
    constexpr DWORD kMoveTo = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE;
    MouseEvent(kMoveTo, ToVirtualDeskCoords(drag.press, desktop));
    MouseEvent(down);
    MouseEvent(kMoveTo | down, ToVirtualDeskCoords(drag.release, desktop));
    // The release carries its place too: a pointer event still on its way (Wine's X driver
    // can deliver the press's own move late) then cannot put the release back at the press.
    MouseEvent(kMoveTo | (swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP), ToVirtualDeskCoords(drag.release, desktop));
    WaitForHostToTakeRelease(host, button, attachment, before);
}

}  // namespace

std::optional<float> GetSeparator(const HostBinding& host) {
    if (!host.IsBound()) return std::nullopt;
    const PhysicalPixels pixels;
    const unsigned dpi = pixels.switched() ? MonitorDpi(host.window()) : kDefaultDpi;
    RECT client{};
    if (!GetClientRect(host.window(), &client) || client.right <= 0) return std::nullopt;
    const auto panel = FindSeparatorPanel(host.window(), SeparatorMaxWidth(dpi));
    if (!panel) return std::nullopt;
    POINT corner{panel->rect.left, panel->rect.top};
    ScreenToClient(host.window(), &corner);
    return SeparatorPercent(static_cast<double>(corner.x + 2) / static_cast<double>(client.right));
}

void SetSeparator(const HostBinding& binding, double percent) {
    if (!binding.IsBound()) return;  // another host's window is neither dragged nor swept
    HWND host = binding.window();
    {
        const PhysicalPixels pixels;
        const unsigned dpi = pixels.switched() ? MonitorDpi(host) : kDefaultDpi;
        RECT client{};
        if (GetClientRect(host, &client)) {
            SetTopMost(host, true);
            ScopeExit lower([&] { SetTopMost(host, false); });
            std::optional<POINT> savedCursor;
            if (const auto panel = FindSeparatorPanel(host, SeparatorMaxWidth(dpi))) {
                POINT cursor{};
                if (GetCursorPos(&cursor)) savedCursor = cursor;
                DragSeparator(host, *panel, client.right, percent, dpi);
            }
            lower.reset();
            if (savedCursor) SetCursorPos(savedCursor->x, savedCursor->y);
        }
    }
    ClosePercentTooltips();
}

}  // namespace ombrisk
