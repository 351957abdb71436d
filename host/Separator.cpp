#include "host/Separator.h"

#include "host/HostWindow.h"
#include "host/PanelPaths.h"
#include "core/SeparatorMath.h"
#include "server/Errors.h"
#include "server/Variants.h"
#include "core/PercentTooltip.h"
#include "platform/Raii.h"
#include "platform/Text.h"
#include "chores/modStartUP.h"

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

void StoreInteger(VARIANT* v, short value) {
    VariantClear(v);
    V_VT(v) = VT_I2;
    V_I2(v) = value;
}

// The panel's path bars: the first "TPathPanel" below the host and the last one after it.
struct PathBars {
    HWND first = nullptr;
    HWND other = nullptr;
};

BOOL CALLBACK FindPathPanelsProc(HWND hwnd, LPARAM lParam) {
    auto& bars = *reinterpret_cast<PathBars*>(lParam);
    char name[256] = {};
    GetClassNameA(hwnd, name, 256);
    if (ContainsNoCase(name, "TPathPanel")) {
        if (!bars.first)
            bars.first = hwnd;
        else
            bars.other = hwnd;
    }
    return TRUE;
}

std::wstring GetWindowTextUnicode(HWND hwnd) {
    if (!hwnd) return {};
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::wstring Upper(std::wstring s) {
    if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::wstring Info(const wchar_t* request) {
    UniqueVariant v;
    V_VT(v.get()) = VT_BSTR;
    V_BSTR(v.get()) = AllocBstr(request);
    return GetHostInfo(*v.get());
}

}  // namespace

void GetSeparator(HelperState& state, VARIANT* result) {
    VARIANT* stored = state.SeparatorValue.get();
    StoreInteger(stored, -1);
    RECT client{};
    if (IsHostBound(state) && GetClientRect(state.BoundWindow, &client) && client.right > 0) {
        if (const auto panel = FindSeparatorPanel(state.BoundWindow)) {
            POINT corner{panel->rect.left, panel->rect.top};
            ScreenToClient(state.BoundWindow, &corner);
            const double ratio = static_cast<double>(corner.x + 2) / static_cast<double>(client.right);
            VariantClear(stored);
            V_VT(stored) = VT_R4;
            V_R4(stored) = SeparatorPercent(ratio);
        }
    }
    const HRESULT hr = VariantCopy(result, stored);
    if (FAILED(hr)) throw ScriptError(hr);
}

void SetSeparator(HelperState& state, const VARIANT& value) {
    // Null and text that is not a number are refused before the host is made topmost or any
    // button is pressed, so that no button is ever left down.
    if (IsNull(value)) throw ScriptError(VbError::InvalidUseOfNull);
    double percent = ToDouble(value);
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    VARIANT* stored = state.SeparatorValue.get();
    VariantClear(stored);
    V_VT(stored) = VT_R8;
    V_R8(stored) = percent;

    if (!IsHostBound(state)) return;
    HWND host = state.BoundWindow;
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
            POINT end{SeparatorEndX(percent, client.right), y};
            ClientToScreen(host, &end);
            AbsoluteMouse(end);
            MouseEvent(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                       end.x, end.y);
            MouseEvent(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0);
        }
        lower.dismiss();
        SetTopMost(host, false);
        if (savedCursor) SetCursorPos(savedCursor->x, savedCursor->y);
    }
    ClosePercentTooltips();
}

void GetPanelFilter(const VARIANT& leftOrRight, VARIANT* result) {
    HWND host = FindHostWindow();
    if (!host) return;  // Empty
    PathBars bars;
    EnumChildWindows(host, FindPathPanelsProc, reinterpret_cast<LPARAM>(&bars));
    std::wstring side = Upper(ToString(leftOrRight));
    HWND leftBar = nullptr, rightBar = nullptr;
    if (bars.first && bars.other) {
        RECT a{}, b{};
        GetWindowRect(bars.first, &a);
        GetWindowRect(bars.other, &b);
        const bool firstIsLeft = a.left != b.left ? a.left < b.left : (a.top != b.top ? a.top < b.top : true);
        leftBar = firstIsLeft ? bars.first : bars.other;
        rightBar = firstIsLeft ? bars.other : bars.first;
    }
    if (side == L"S")
        side = Info(L"A");
    else if (side == L"T")
        side = Info(L"A") == L"L" ? L"R" : L"L";
    std::wstring text, path;
    if (side == L"L") {
        text = GetWindowTextUnicode(leftBar);
        path = Info(L"LP");
    } else if (side == L"R") {
        text = GetWindowTextUnicode(rightBar);
        path = Info(L"RP");
    }
    if (!path.empty()) {
        const size_t at = Upper(text).find(Upper(path));
        if (at != std::wstring::npos) text.erase(at, path.size());
    }
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = AllocBstr(text);
}

}  // namespace ombrisk
