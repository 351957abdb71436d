#include "platform/Wine.h"

#include <windows.h>

namespace ombrisk {

bool RunsUnderWine() noexcept {
    static const bool wine = [] {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

HWND ClipboardDataOwner(HWND window) noexcept { return RunsUnderWine() ? nullptr : window; }

}  // namespace ombrisk
