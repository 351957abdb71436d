#include "chores/modStartUP.h"

#include "core/PercentTooltip.h"

#include <windows.h>

namespace ombrisk {

void ShowAbout() noexcept {
    // Six lines joined by a single CR.
    const wchar_t text[] =
        L"Ombrisk scripting helper for two-panel file managers\r"
        L"\r"
        L"Version: Beta14\r"
        L"\r"
        L"2026, the Ombrisk developers\r"
        L"Contact: see the project's README";
    MessageBoxW(nullptr, text, L"About Ombrisk", MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

void StartUpMain() noexcept {
    // The DLL is only ever loaded as an in-process server by a client; there is no standalone start.
}

}  // namespace ombrisk

namespace ombrisk {

namespace {

BOOL CALLBACK VisitTooltip(HWND hwnd, LPARAM) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length < 5 || length > 7) return TRUE;
    char text[8] = {};
    const int got = GetWindowTextA(hwnd, text, length + 1);
    if (!IsPercentTooltipText(std::string_view(text, got > 0 ? static_cast<size_t>(got) : 0))) return TRUE;
    char name[256] = {};
    GetClassNameA(hwnd, name, 255);
    if (ContainsNoCase(name, "TToolTip")) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void ClosePercentTooltips() noexcept { EnumChildWindows(GetDesktopWindow(), VisitTooltip, 0); }

}  // namespace ombrisk
