#include "discovery/IniFilesQuery.h"

#include "discovery/IniFilesText.h"
#include "discovery/modReg.h"
#include "host/Commands.h"
#include "host/HostWindow.h"
#include "util/PercentTooltip.h"
#include "util/Raii.h"
#include "util/Text.h"

#include <algorithm>
#include <vector>

namespace ombrisk {

namespace {

const wchar_t kAsteriskSoundKey[] = L"AppEvents\\Schemes\\Apps\\.Default\\SystemAsterisk\\.Current";
constexpr WPARAM kShowIniFilesCommand = 690;
constexpr ULONGLONG kDialogTimeoutMs = 1500;

bool IsDialogClass(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, 255);
    return ContainsNoCase(name, "#32770");
}

// Hiding a window that is not shown yet does nothing, and it would appear afterwards.
bool HideIfShown(HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return false;
    ShowWindow(hwnd, SW_HIDE);
    return true;
}

struct DialogSearch {
    std::vector<HWND> alreadyOpen;  // dialogs of the host's thread before the command was posted
    HWND found = nullptr;
    bool hidden = false;  // found shown and hidden at once
    bool collecting = false;
};

BOOL CALLBACK DialogFinder(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<DialogSearch*>(lParam);
    if (!IsDialogClass(hwnd)) return TRUE;
    if (search.collecting) {
        search.alreadyOpen.push_back(hwnd);
        return TRUE;
    }
    // A dialog the user already had open is never hidden, parsed or closed.
    if (std::find(search.alreadyOpen.begin(), search.alreadyOpen.end(), hwnd) != search.alreadyOpen.end()) return TRUE;
    search.found = hwnd;
    search.hidden = HideIfShown(hwnd);
    return FALSE;
}

std::wstring DialogText(HWND dialog) {
    HWND first = FindWindowExA(dialog, nullptr, "Static", nullptr);
    if (!first) return {};
    HWND second = FindWindowExA(dialog, first, "Static", nullptr);
    if (!second) return {};
    char text[1024] = {};
    GetWindowTextA(second, text, sizeof(text));
    return FromAnsi(text);  // ends at the first NUL
}

}  // namespace

bool QueryHostIniFiles(HelperState& state) {
    if (!IsHostBound(state)) return false;
    const DWORD hostThread = GetWindowThreadProcessId(state.BoundWindow, nullptr);

    const std::wstring savedSound = ReadRegValue(HKEY_CURRENT_USER, kAsteriskSoundKey, L"");
    if (!savedSound.empty()) WriteRegString(HKEY_CURRENT_USER, kAsteriskSoundKey, L"", L" ");
    ScopeExit restoreSound([&] {
        if (!savedSound.empty()) WriteRegString(HKEY_CURRENT_USER, kAsteriskSoundKey, L"", savedSound);
    });

    DialogSearch search;
    search.collecting = true;
    EnumThreadWindows(hostThread, DialogFinder, reinterpret_cast<LPARAM>(&search));
    search.collecting = false;

    PostMessageA(state.BoundWindow, kHostCommandMessage, kShowIniFilesCommand, 0);
    const ULONGLONG start = GetTickCount64();  // monotonic: unaffected by the clock passing midnight
    while (!search.found) {
        EnumThreadWindows(hostThread, DialogFinder, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        Sleep(10);
        if (GetTickCount64() - start > kDialogTimeoutMs) break;
    }
    if (!search.found) return false;
    // The dialog window exists, hidden, while the host still adds its controls and texts; one
    // found then is read and hidden only once the host shows it (or the time-out has passed).
    while (!search.hidden && IsWindow(search.found) && GetTickCount64() - start <= kDialogTimeoutMs) {
        search.hidden = HideIfShown(search.found);
        if (!search.hidden) Sleep(1);
    }

    ScopeExit closeDialog([&] { SendMessageA(search.found, WM_CLOSE, 0, 0); });
    const auto paths = ParseIniFilesText(AsU16(DialogText(search.found)));
    if (!paths) return false;
    state.MainINI = ToWide(paths->first);
    state.FTPINI = ToWide(paths->second);
    return true;
}

}  // namespace ombrisk
