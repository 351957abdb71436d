#include "host/Keystrokes.h"

#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/KeyParser.h"
#include "host/SpaceTokens.h"
#include "server/Errors.h"
#include "server/Variants.h"
#include "util/Raii.h"
#include "util/Text.h"

#include <vector>

namespace ombrisk {

namespace {

constexpr WPARAM kShowMainWindowCommand = 2016;
// An unassigned virtual key pressed after the keys: when the host's thread has taken it from
// the queue, every key before it has been processed. Applications ignore unassigned keys.
constexpr WORD kSentinelKey = 0xE8;
constexpr ULONGLONG kKeysTimeoutMs = 10000;

struct TitleSearch {
    std::wstring title;
    bool prefix;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<TitleSearch*>(lParam);
    if (!IsWindowVisible(hwnd)) return TRUE;
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return TRUE;
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    caption.resize(static_cast<size_t>(std::max(0, GetWindowTextW(hwnd, caption.data(), length + 1))));
    const size_t n = search.prefix ? search.title.size() : caption.size();
    if (caption.size() < search.title.size() || (!search.prefix && caption.size() != search.title.size())) return TRUE;
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.data(), static_cast<int>(n), search.title.data(),
                       static_cast<int>(search.title.size())) != CSTR_EQUAL)
        return TRUE;
    search.found = hwnd;
    return FALSE;
}

// Gives the foreground and the keyboard focus to the window whose caption equals title, or
// failing that begins with it. False when no window matches or it does not take the foreground.
bool ActivateByTitle(const std::wstring& title) {
    TitleSearch exact{title, false};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&exact));
    HWND target = exact.found;
    if (!target) {
        TitleSearch prefix{title, true};
        EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&prefix));
        target = prefix.found;
    }
    if (!target) return false;
    if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
    SetForegroundWindow(target);
    return GetForegroundWindow() == target;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT UnicodeInput(wchar_t ch, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// Characters the keyboard layout has are typed with their keys (adding the Shift, Ctrl or Alt
// they need and the script does not already hold); the others as Unicode input.
std::vector<INPUT> ToInputs(const std::vector<KeyAction>& actions) {
    std::vector<INPUT> inputs;
    inputs.reserve(actions.size() * 2 + 2);
    bool held[3] = {false, false, false};  // Shift, Ctrl, Alt pressed by the script
    const WORD modifierKeys[3] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (const KeyAction& a : actions) {
        if (a.kind != KeyAction::Character) {
            const bool up = a.kind == KeyAction::VirtualKeyUp;
            for (int m = 0; m < 3; ++m)
                if (a.vk == modifierKeys[m]) held[m] = !up;
            inputs.push_back(KeyInput(a.vk, up));
            continue;
        }
        const SHORT scan = VkKeyScanW(static_cast<wchar_t>(a.ch));
        if (scan == -1 || (HIBYTE(scan) & ~7) != 0) {
            inputs.push_back(UnicodeInput(static_cast<wchar_t>(a.ch), false));
            inputs.push_back(UnicodeInput(static_cast<wchar_t>(a.ch), true));
            continue;
        }
        const int needs = HIBYTE(scan);
        bool added[3] = {false, false, false};
        for (int m = 0; m < 3; ++m)
            if ((needs & (1 << m)) && !held[m]) {
                inputs.push_back(KeyInput(modifierKeys[m], false));
                added[m] = true;
            }
        inputs.push_back(KeyInput(LOBYTE(scan), false));
        inputs.push_back(KeyInput(LOBYTE(scan), true));
        for (int m = 2; m >= 0; --m)
            if (added[m]) inputs.push_back(KeyInput(modifierKeys[m], true));
    }
    return inputs;
}

// Plays the inputs into the foreground window and returns when its thread has taken every
// one of them from its queue. The calling thread's input is attached to that thread for the
// wait, so that the shared key state shows the sentinel key's toggle once it was processed.
bool PlayAndWait(std::vector<INPUT> inputs) {
    HWND foreground = GetForegroundWindow();
    const DWORD target = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD self = GetCurrentThreadId();
    bool attached = false;
    if (target && target != self) attached = AttachThreadInput(self, target, TRUE) != FALSE;
    ScopeExit detach([&] {
        if (attached) AttachThreadInput(self, target, FALSE);
    });
    const SHORT before = GetKeyState(kSentinelKey) & 1;
    inputs.push_back(KeyInput(kSentinelKey, false));
    inputs.push_back(KeyInput(kSentinelKey, true));
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) return false;
    const ULONGLONG start = GetTickCount64();
    while ((GetKeyState(kSentinelKey) & 1) == before) {
        if (GetTickCount64() - start > kKeysTimeoutMs) return false;
        Sleep(1);
    }
    return true;
}

}  // namespace

bool SendKeystrokeToHost(const HelperState& state, std::wstring keys) {
    std::u16string expanded = ToU16(keys);
    if (ExpandSpaceTokens(expanded) == SpaceTokenStatus::NegativeCount) throw ScriptError(VbError::InvalidProcedureCall);

    HWND host = FindHostWindow();
    if (!host) return false;
    if (!IsWindowVisible(host)) SendMessageA(host, kHostCommandMessage, kShowMainWindowCommand, 0);
    char caption[261] = {};
    const int got = GetWindowTextA(host, caption, sizeof(caption));
    const std::wstring title = got > 0 ? FromAnsi(std::string_view(caption, static_cast<size_t>(got))) : L"Total";

    bool ok = ActivateByTitle(title);
    try {
        SleepMs(PauseMs(*state.Pause.get(), 2));
    } catch (const ScriptError&) {
        ok = false;  // no wait length can be computed from Pause; the keys still go
    }
    std::vector<KeyAction> actions;
    if (ParseSendKeys(expanded, actions) != KeyParseStatus::Ok) ok = false;
    // Keys are typed only into the activated host, never into whatever else has the focus.
    else if (ok && !actions.empty())
        ok = PlayAndWait(ToInputs(actions));
    try {
        SleepMs(PauseMs(*state.Pause.get(), 2));
    } catch (const ScriptError&) {
    }
    return ok;
}

}  // namespace ombrisk
