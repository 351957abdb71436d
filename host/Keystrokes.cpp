#include "host/Keystrokes.h"

#include "core/KeyParser.h"
#include "core/SpaceTokens.h"
#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/InputAttachment.h"
#include "platform/Error.h"
#include "platform/Messages.h"
#include "platform/Text.h"
#include "platform/Wait.h"

#include <algorithm>
#include <vector>

namespace ombrisk {

namespace {

constexpr WPARAM kShowMainWindowCommand = 2016;
// An unassigned virtual key pressed after the keys: when the host's thread has taken it from
// the queue, every key before it has been processed. Applications ignore unassigned keys.
constexpr WORD kSentinelKey = 0xE8;
constexpr ULONGLONG kKeysTimeoutMs = 10000;
constexpr int32_t kActivateTimeoutMs = 2000;
constexpr size_t kSliceInputs = 256;

struct TitleSearch {
    std::wstring title;
    bool prefix;
    HWND found = nullptr;
};

// True when caption equals title, or with prefix set begins with it, ignoring letter case.
bool CaptionMatches(const std::wstring& caption, const std::wstring& title, bool prefix) {
    if (caption.size() < title.size() || (!prefix && caption.size() != title.size())) return false;
    return EqualsIgnoringCase(std::wstring_view(caption).substr(0, title.size()), title);
}

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<TitleSearch*>(lParam);
    if (!IsWindowVisible(hwnd)) return TRUE;
    try {
        if (!CaptionMatches(WindowText(hwnd), search.title, search.prefix)) return TRUE;
    } catch (...) {
        return TRUE;  // no exception crosses the enumeration
    }
    search.found = hwnd;
    return FALSE;
}

// Gives the foreground and the keyboard focus to the window whose caption equals title, or
// failing that begins with it; the host itself is taken first when its caption is the title
// (or begins with it, the title being cut at 260 characters), so another window with the same
// caption or a longer one beginning alike never gets the keys meant for the host.
// Returns that window; null when no window matches or it does not take the foreground.
HWND ActivateByTitle(const std::wstring& title, HWND host) {
    HWND target = nullptr;
    // A caption longer than the title was cut to make it; the host still counts as matching.
    if (IsWindowVisible(host) && CaptionMatches(WindowText(host), title, true)) target = host;
    if (!target) {
        TitleSearch exact{title, false};
        EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&exact));
        target = exact.found;
    }
    if (!target) {
        TitleSearch prefix{title, true};
        EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&prefix));
        target = prefix.found;
    }
    if (!target) return nullptr;
    if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
    SetForegroundWindow(target);
    // A window of another thread becomes the foreground window only once its thread has
    // handled the activation; keys sent before that would find no focus to go to.
    if (!WaitUntil([&] { return GetForegroundWindow() == target; }, kActivateTimeoutMs, 5)) return nullptr;
    return target;
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

// Polls the sentinel's down bit in this thread's key state until it reads `down`.
bool WaitForSentinel(bool down, ULONGLONG timeoutMs) {
    return WaitUntil([&] { return ((GetKeyState(kSentinelKey) & 0x8000) != 0) == down; }, static_cast<int32_t>(timeoutMs),
                     1);
}

// Plays the inputs into the foreground window and returns when its thread has taken every
// one of them from its queue: the sentinel is pressed after them and held until the key state
// shared with that thread shows it down, which happens when that thread reads it. The key
// state is only shared while this thread's input is attached to that thread: an attachment
// this thread already holds to it (the one objects make at creation) is joined, since
// attaching again would reset the shared key state and detaching afterwards would end it for
// those objects; otherwise that thread is attached for the call only. The down bit, unlike the
// toggle bit, is the same whichever way a fresh attachment left the shared state, because the
// system's state has the key down too.
bool PlayAndWait(std::vector<INPUT> inputs, HWND activated) {
    HWND foreground = GetForegroundWindow();
    const DWORD target = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const InputAttachment attachment = InputAttachment::Attach(target, AttachOrder::CallerToHost);
    // The sentinel of an earlier call is let go first, so its down bit cannot count for this one.
    if (!WaitForSentinel(false, kKeysTimeoutMs)) return false;
    // The keys go in slices of kSliceInputs, each followed by the sentinel and waited for, so
    // the target's queue never holds more than one slice; once kKeysTimeoutMs have passed the
    // rest is not sent. A huge key string thus ends in bounded time and leaves no flood of keys
    // behind that would make the next calls time out.
    const ULONGLONG start = GetTickCount64();
    size_t next = 0;
    do {
        // A window that took the foreground from the host since its activation gets no keys.
        if (GetForegroundWindow() != activated) return false;
        const size_t count = std::min(kSliceInputs, inputs.size() - next);
        std::vector<INPUT> slice(inputs.begin() + static_cast<ptrdiff_t>(next),
                                 inputs.begin() + static_cast<ptrdiff_t>(next + count));
        next += count;
        slice.push_back(KeyInput(kSentinelKey, false));
        const UINT sent = SendInput(static_cast<UINT>(slice.size()), slice.data(), sizeof(INPUT));
        const ULONGLONG spent = GetTickCount64() - start;
        const bool processed =
            sent == slice.size() && spent < kKeysTimeoutMs && WaitForSentinel(true, kKeysTimeoutMs - spent);
        INPUT release = KeyInput(kSentinelKey, true);
        SendInput(1, &release, sizeof(INPUT));
        if (!processed) return false;
        if (next < inputs.size()) {
            const ULONGLONG used = GetTickCount64() - start;
            if (used >= kKeysTimeoutMs || !WaitForSentinel(false, kKeysTimeoutMs - used)) return false;
        }
    } while (next < inputs.size());
    return true;
}

}  // namespace

bool SendKeystroke(std::wstring_view keys, const Pause& pause) {
    std::u16string expanded = ToU16(keys);
    if (ExpandSpaceTokens(expanded) == SpaceTokenStatus::NegativeCount) throw Error(ErrorKind::InvalidProcedureCall);

    HWND host = FindHostWindow();
    if (!host) return false;
    if (!IsWindowVisible(host)) DeliverCommand(host, kShowMainWindowCommand, true, kHostMessageTimeoutMs);
    // The caption is read with the wide functions, as the captions it is compared with are: in
    // the ANSI code page a character it lacks would turn into "?" and match no caption at all.
    wchar_t caption[261] = {};
    const int got = GetWindowTextW(host, caption, 261);
    const std::wstring title = got > 0 ? std::wstring(caption, static_cast<size_t>(std::min(got, 260))) : L"Total";

    HWND activated = ActivateByTitle(title, host);
    bool ok = activated != nullptr;
    try {
        pause.Wait(2);
    } catch (const Error&) {
        ok = false;  // no wait length can be computed from Pause; the keys still go
    }
    std::vector<KeyAction> actions;
    if (ParseSendKeys(expanded, actions) != KeyParseStatus::Ok) {
        ok = false;
    } else if (activated && !actions.empty()) {
        // Keys are typed only into the activated host, never into whatever else has the focus.
        if (!PlayAndWait(ToInputs(actions), activated)) ok = false;
    }
    try {
        pause.Wait(2);
    } catch (const Error&) {
    }
    return ok;
}

}  // namespace ombrisk
