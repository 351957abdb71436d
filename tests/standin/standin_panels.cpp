// The host's child windows that the separator and filter properties look at:
//   "TPanel" children of the main window, in z-order as tpanels=<w1>,<w2>,... lists their
//     widths (default: left panel sep_x wide, the bar sep_width wide, the right panel; the
//     panels follow the bar). Otherwise the first one at most sep_max_width pixels wide (default
//     4; a host on a monitor of larger scale draws a wider bar) is the separator bar. The bar
//     stands at client x sep_x (until it is dragged), the ones listed before it are laid out
//     from x 0, the ones after it follow it. Without a bar they are laid out from x 0. All span
//     the client height.
//   "TPathPanel" path bars, children of a "THeaderBox" child at the bottom of the client area;
//     the right one comes first in z-order, so only their places tell them apart.
// The bar follows a drag: button down captures the mouse, button up moves the bar so that its
// left edge is at the up position's client x minus 2 (primary button only); both are logged
// with the button the message names (L or R). The bar takes double-clicks, as a splitter that
// resets itself on one would: a press that Windows turns into one is logged as such (and then
// handled as a press).
#include <windows.h>

#include <string>
#include <vector>

#include "standin.h"
#include "standin_host.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";
constexpr wchar_t kPathBarClass[] = L"TPathPanel";
constexpr wchar_t kHeaderClass[] = L"THeaderBox";
constexpr int kPathBarHeight = 20;

POINT to_host_client(const Host& host, HWND from, LPARAM lparam) {
    POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    MapWindowPoints(from, host.hwnd, &p, 1);
    return p;
}

std::vector<long> parse_widths(const std::wstring& text) {
    std::vector<long> widths;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const std::size_t comma = text.find(L',', start);
        long w = 0;
        if (parse_long(text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start), w))
            widths.push_back(w < 0 ? 0 : w);
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    return widths;
}

bool default_panels(const Host& host) { return !host.config.get(L"tpanels"); }

// Widths of the TPanel children in z-order; the default layout follows the bar.
std::vector<long> panel_widths(const Host& host, long client_width) {
    if (!default_panels(host)) return parse_widths(host.config.text(L"tpanels", L""));
    const long sep_width = host.config.number(L"sep_width", 3);
    const long right = client_width - host.bar_x - sep_width;
    return {host.bar_x < 0 ? 0 : host.bar_x, sep_width, right < 0 ? 0 : right};
}

// Places the TPanel children; the bar at host.bar_x.
void place_panels(Host& host) {
    const long bar_max_width = host.config.number(L"sep_max_width", 4);
    RECT client{};
    GetClientRect(host.hwnd, &client);
    const std::vector<long> widths = panel_widths(host, client.right);
    std::size_t bar_index = widths.size();
    if (default_panels(host)) {
        if (widths[1] <= bar_max_width) bar_index = 1;  // the left panel may shrink to nothing
    } else {
        for (std::size_t i = 0; i < widths.size(); ++i)
            if (widths[i] <= bar_max_width) {
                bar_index = i;
                break;
            }
    }
    long x = 0;
    for (std::size_t i = 0; i < host.tpanels.size() && i < widths.size(); ++i) {
        if (i == bar_index) x = host.bar_x;
        MoveWindow(host.tpanels[i], x, 0, widths[i], client.bottom, TRUE);
        x += widths[i];
    }
    host.bar = bar_index < host.tpanels.size() ? host.tpanels[bar_index] : nullptr;
}

void on_button_down(Host& host, HWND hwnd, UINT msg, LPARAM lparam) {
    const POINT p = to_host_client(host, hwnd, lparam);
    const char button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) ? 'L' : 'R';
    if (hwnd != host.bar) {
        host.log.line(format("CLICK window=panel x=%ld y=%ld button=%c", p.x, p.y, button));
        return;
    }
    const bool dblclk = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK;
    host.log.line(format("SEPARATOR %s x=%ld y=%ld button=%c", dblclk ? "dblclk" : "down", p.x, p.y, button));
    // A second down while dragging (the drag's end point) keeps the capture.
    if (GetCapture() != hwnd) SetCapture(hwnd);
    host.dragging = true;
}

// Wine hands a mouse button's messages over as the button the input named, swapped buttons
// or not: with swapped buttons the primary button's messages are the right-button ones.
bool is_primary(UINT msg) {
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    return (msg == WM_LBUTTONUP) != swapped;
}

void on_button_up(Host& host, HWND hwnd, UINT msg, LPARAM lparam) {
    if (hwnd != host.bar || !host.dragging) return;
    const POINT p = to_host_client(host, hwnd, lparam);
    const bool primary = is_primary(msg);
    host.log.line(format("SEPARATOR up x=%ld button=%c", p.x, msg == WM_LBUTTONUP ? 'L' : 'R'));
    host.dragging = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    if (!primary) return;
    host.bar_x = p.x - 2;
    place_panels(host);
    host.log.line(format("SEPARATOR moved left=%ld", host.bar_x));
}

LRESULT CALLBACK panel_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Host* host = g_host;
    if (host) {
        switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK: on_button_down(*host, hwnd, msg, lparam); return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: on_button_up(*host, hwnd, msg, lparam); return 0;
        case WM_CAPTURECHANGED:
            if (hwnd == host->bar && reinterpret_cast<HWND>(lparam) != hwnd) host->dragging = false;
            return 0;
        default: break;
        }
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

void destroy_children(Host& host) {
    for (HWND panel : host.tpanels) DestroyWindow(panel);
    host.tpanels.clear();
    host.bar = nullptr;
    if (host.path_holder) DestroyWindow(host.path_holder);  // takes the path bars with it
    host.path_holder = nullptr;
    host.path_bars[0] = host.path_bars[1] = nullptr;
}

// Sizes the main window so that its client area is exactly width x height with its origin at
// the screen point (x, y), whatever the frame measures.
void set_client_rect(Host& host, long x, long y, long width, long height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(host.hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(host.hwnd, GWL_EXSTYLE)));
    long wx = x + frame.left, wy = y + frame.top, ww = frame.right - frame.left, wh = frame.bottom - frame.top;
    for (int attempt = 0; attempt < 3; ++attempt) {
        SetWindowPos(host.hwnd, nullptr, wx, wy, ww, wh, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(host.hwnd, &client);
        POINT origin{0, 0};
        ClientToScreen(host.hwnd, &origin);
        if (client.right == width && client.bottom == height && origin.x == x && origin.y == y) return;
        ww += width - client.right;
        wh += height - client.bottom;
        wx += x - origin.x;
        wy += y - origin.y;
    }
}

HWND create_path_bar(Host& host, wchar_t side, int x, int y) {
    std::wstring text = host.config.text(std::wstring(L"pathbar.") + side, panel_path(host, side) + L"*.*");
    return CreateWindowExW(0, kPathBarClass, text.c_str(), WS_CHILD | WS_VISIBLE, x, y, 150, kPathBarHeight,
                           host.path_holder, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::string describe_rect(HWND hwnd, HWND relative_to) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, relative_to, reinterpret_cast<POINT*>(&r), 2);
    return format("%ld+%ld", r.left, r.right - r.left);
}

}  // namespace

std::wstring panel_path(const Host& host, wchar_t side) {
    return host.config.text(std::wstring(L"path.") + side, side == L'L' ? L"C:\\Left\\" : L"D:\\Right\\");
}

std::string apply_layout(Host& host) {
    host.config.refresh();
    ensure_class(kPanelClass, panel_proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), CS_DBLCLKS);
    ensure_class(kPathBarClass, DefWindowProcW);
    ensure_class(kHeaderClass, DefWindowProcW);
    destroy_children(host);

    const long width = host.config.number(L"client_width", 800);
    const long height = host.config.number(L"client_height", 560);
    set_client_rect(host, host.config.number(L"client_x", 40), host.config.number(L"client_y", 40), width, height);
    RECT client{};
    GetClientRect(host.hwnd, &client);
    host.bar_x = host.config.number(L"sep_x", client.right / 2 - 2);
    host.dragging = false;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::size_t count = panel_widths(host, client.right).size();
    for (std::size_t i = 0; i < count; ++i) {
        HWND panel =
            CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, host.hwnd, nullptr, instance, nullptr);
        if (!panel) continue;
        // Each new one goes below the ones before it, so the z-order is the listed order.
        SetWindowPos(panel, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        host.tpanels.push_back(panel);
    }
    place_panels(host);

    const long bars = host.config.number(L"pathbars", 2);
    host.path_holder = CreateWindowExW(0, kHeaderClass, L"", WS_CHILD | WS_VISIBLE, 0, client.bottom - kPathBarHeight - 4,
                                       400, kPathBarHeight + 4, host.hwnd, nullptr, instance, nullptr);
    SetWindowPos(host.path_holder, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // stacked: both bars at x 0, the left one above; otherwise side by side.
    const bool stacked = host.config.text(L"pathbar_layout", L"side") == L"stacked";
    // The right bar is created first and stays first in z-order.
    if (bars >= 2) host.path_bars[1] = create_path_bar(host, L'R', stacked ? 0 : 200, stacked ? kPathBarHeight + 2 : 2);
    if (bars >= 1) {
        host.path_bars[0] = create_path_bar(host, L'L', 0, stacked ? 0 : 2);
        SetWindowPos(host.path_bars[0], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    // What the library will see: the first two TPanel children as FindWindowEx returns them.
    std::string seen;
    HWND child = nullptr;
    for (int i = 0; i < 2 && (child = FindWindowExW(host.hwnd, child, kPanelClass, nullptr)) != nullptr; ++i) {
        if (i) seen += ',';
        seen += describe_rect(child, host.hwnd);
    }
    POINT origin{0, 0};
    ClientToScreen(host.hwnd, &origin);
    return format("LAYOUT client=%ldx%ld origin=%ld,%ld bar=%s tpanels=%s pathbars=%ld", client.right, client.bottom,
                  origin.x, origin.y, host.bar ? describe_rect(host.bar, host.hwnd).c_str() : "none",
                  seen.empty() ? "none" : seen.c_str(), bars);
}

}  // namespace ombrisk::standin
