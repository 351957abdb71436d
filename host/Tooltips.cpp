#include "host/Tooltips.h"

#include "core/PercentTooltip.h"

#include <windows.h>

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
