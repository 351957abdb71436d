#include "server/AboutBox.h"

#include <windows.h>

namespace ombrisk {

void ShowAboutBox() noexcept {
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

}  // namespace ombrisk
