#include "host/SettingsFiles.h"

#include "core/SettingsDialogText.h"
#include "core/PercentTooltip.h"
#include "core/RegistryData.h"
#include "platform/Registry.h"
#include "host/Commands.h"
#include "platform/Messages.h"
#include "platform/Raii.h"
#include "platform/Text.h"
#include "platform/Wait.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace ombrisk {

namespace {

const wchar_t kAsteriskSoundKey[] = L"AppEvents\\Schemes\\Apps\\.Default\\SystemAsterisk\\.Current";
constexpr int32_t kDialogTimeoutMs = 1500;

// The asterisk sound switched off for the guard's lifetime. A non-empty REG_SZ or REG_EXPAND_SZ
// (current Windows keeps "%SystemRoot%\media\..." as REG_EXPAND_SZ) is replaced by a single
// space of the same type; when the guard ends the original type and bytes are written back
// exactly. Any other value, or one that could not be replaced, is never written.
class SilencedAsteriskSound {
public:
    SilencedAsteriskSound() {
        std::optional<RegistryValue> original = ReadRegRaw(HKEY_CURRENT_USER, kAsteriskSoundKey, L"");
        if (!original) return;
        std::optional<std::vector<uint8_t>> silent = SilencedSoundData(original->type, original->data);
        if (!silent) return;
        const RegistryValue replacement{original->type, std::vector<BYTE>(silent->begin(), silent->end())};
        if (WriteRegRaw(HKEY_CURRENT_USER, kAsteriskSoundKey, L"", replacement)) saved_ = std::move(original);
    }
    SilencedAsteriskSound(const SilencedAsteriskSound&) = delete;
    SilencedAsteriskSound& operator=(const SilencedAsteriskSound&) = delete;
    ~SilencedAsteriskSound() {
        if (saved_) WriteRegRaw(HKEY_CURRENT_USER, kAsteriskSoundKey, L"", *saved_);
    }

private:
    std::optional<RegistryValue> saved_;
};

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
    // Read as Unicode: the paths may hold characters outside the ANSI code page.
    wchar_t text[1024] = {};
    GetWindowTextW(second, text, 1024);
    return text;  // ends at the first NUL
}

}  // namespace

std::optional<HostSettingsFiles> GetIniFiles(const HostBinding& host) {
    if (!host.IsBound()) return std::nullopt;
    const DWORD hostThread = GetWindowThreadProcessId(host.window(), nullptr);

    // Restored after the dialog is closed, on every path.
    const SilencedAsteriskSound silence;

    DialogSearch search;
    search.collecting = true;
    EnumThreadWindows(hostThread, DialogFinder, reinterpret_cast<LPARAM>(&search));
    search.collecting = false;

    PostMessageA(host.window(), kHostCommandMessage, kShowSettingsFilesCommand, 0);
    const ULONGLONG start = GetTickCount64();
    WaitUntil(
        [&] {
            EnumThreadWindows(hostThread, DialogFinder, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        kDialogTimeoutMs);
    if (!search.found) return std::nullopt;
    // The dialog window exists, hidden, while the host still adds its controls and texts; one
    // found then is read and hidden only once the host shows it (or the time-out has passed).
    const auto spent = static_cast<int32_t>(GetTickCount64() - start);
    WaitUntil(
        [&] {
            if (!search.hidden) search.hidden = HideIfShown(search.found);
            return search.hidden || !IsWindow(search.found);
        },
        kDialogTimeoutMs - spent, 1);

    ScopeExit closeDialog([&] { SendWithin(search.found, WM_CLOSE, 0, 0); });
    const auto paths = ParseSettingsDialogText(AsU16(DialogText(search.found)));
    if (!paths) return std::nullopt;
    return HostSettingsFiles{ToWide(paths->first), ToWide(paths->second)};
}

}  // namespace ombrisk
