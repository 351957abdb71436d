#include "host/Keystrokes.h"

#include "core/KeyEvents.h"
#include "core/KeyParser.h"
#include "core/SpaceTokens.h"
#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/HostRights.h"
#include "host/InputAttachment.h"
#include "platform/Error.h"
#include "platform/Messages.h"
#include "platform/Raii.h"
#include "platform/Text.h"
#include "platform/Wait.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace ombrisk {

namespace {

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

// Gives window the foreground and waits until it has it: a window of another thread becomes
// the foreground window only once its thread has handled the activation, and keys sent before
// that would find no focus to go to. Null when the system refuses it the foreground (at once)
// or it does not take it within kActivateTimeoutMs.
HWND Activate(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    if (!SetForegroundWindow(window) && GetForegroundWindow() != window) return nullptr;
    if (!WaitUntil([&] { return GetForegroundWindow() == window; }, kActivateTimeoutMs, 5)) return nullptr;
    return window;
}

// Gives the foreground and the keyboard focus to the window whose caption equals title, or
// failing that begins with it; the host itself is taken first when its caption is the title
// (or begins with it, the title being cut at 260 characters), so another window with the same
// caption or a longer one beginning alike never gets the keys meant for the host. A window a
// modal dialog keeps disabled hands on to the last active popup of its root owner, as Alt+Tab
// does. Returns the window activated, or null.
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
    if (!IsWindowEnabled(target)) {
        // Asked of an owned window, GetLastActivePopup answers with that window itself; the top
        // of the owner chain knows the popup. GA_ROOTOWNER stops at an owned window that is no
        // WS_POPUP (a main window owned by a hidden application window, say).
        HWND root = target;
        for (int i = 0; i < 64; ++i) {
            HWND owner = GetWindow(root, GW_OWNER);
            if (!owner) break;
            root = owner;
        }
        HWND popup = GetLastActivePopup(root);
        if (popup && popup != target && IsWindowVisible(popup) && IsWindowEnabled(popup)) target = popup;
    }
    return Activate(target);
}

INPUT KeyInput(WORD vk, bool up, bool extended, HKL layout) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT ToInput(const KeyEvent& e, HKL layout) {
    if (e.vk != 0) return KeyInput(e.vk, e.up, e.extended, layout);
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = static_cast<WORD>(e.unit);
    in.ki.dwFlags = KEYEVENTF_UNICODE | (e.up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// ToUnicodeEx of one key in state. Flag 4 (Windows 10 1607 and later) leaves the keyboard's
// dead-key state alone; where it is not known, a dead key is asked once more, which types the
// dead character and so clears the state the first call set.
Translation Translate(uint16_t vk, const KeyboardBytes& state, HKL layout) {
    constexpr UINT kKeepKeyboardState = 0x4;
    const UINT scan = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout);
    wchar_t units[8] = {};
    const int result = ToUnicodeEx(vk, scan, state.data(), units, 8, kKeepKeyboardState, layout);
    if (result < 0) {
        wchar_t flushed[8] = {};
        ToUnicodeEx(vk, scan, state.data(), flushed, 8, kKeepKeyboardState, layout);
    }
    return Translation{result, static_cast<char16_t>(units[0])};
}

// The events for actions as the host's keyboard layout types them, after letting go of the
// modifiers the system reports down (the user's, or those of a hotkey still held), with the
// host's Caps Lock (the key state this thread shares with it) kept out of the text.
std::vector<KeyEvent> PlanForHost(const std::vector<KeyAction>& actions, HKL layout) {
    std::vector<uint16_t> held;
    for (uint16_t key : kHeldModifierKeys)
        if (GetAsyncKeyState(key) & 0x8000) held.push_back(key);
    const bool capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
    std::unordered_map<char16_t, LayoutKey> known;  // three layout calls a character are asked once
    return PlanKeyEvents(actions, held, capsLockOn, [&](char16_t ch) {
        const auto [at, added] = known.try_emplace(ch);
        if (added)
            at->second = DescribeLayoutKey(
                VkKeyScanExW(static_cast<wchar_t>(ch), layout),
                [layout](uint16_t vk, const KeyboardBytes& state) { return Translate(vk, state, layout); });
        return at->second;
    });
}

// Polls the sentinel's down bit in this thread's key state until it reads `down`.
bool WaitForSentinel(bool down, ULONGLONG timeoutMs) {
    return WaitUntil([&] { return ((GetKeyState(kSentinelKey) & 0x8000) != 0) == down; }, static_cast<int32_t>(timeoutMs),
                     1);
}

// Types the actions into the activated window, and once typing has begun into whatever window
// holds the foreground (a dialog the keys open gets the rest), and returns when its thread has
// taken every key from its queue: the sentinel is pressed after them and held until the key state
// shared with that thread shows it down, which happens when that thread reads it. The key
// state is only shared while this thread's input is attached to that thread: an attachment
// this thread already holds to it (the one objects make at creation) is joined, since
// attaching again would reset the shared key state and detaching afterwards would end it for
// those objects; otherwise that thread is attached for the call only. The down bit, unlike the
// toggle bit, is the same whichever way a fresh attachment left the shared state, because the
// system's state has the key down too. However it ends, no key it pressed stays down and Caps
// Lock is as the key string leaves it.
bool PlayAndWait(const std::vector<KeyAction>& actions, HWND activated) {
    HWND foreground = GetForegroundWindow();
    // A window that took the foreground from the activated one before the first key gets none.
    if (foreground != activated) return false;
    const InputAttachment attachment = InputAttachment::Attach(foreground, AttachOrder::CallerToHost);
    // The sentinel of an earlier call is let go first, so its down bit cannot count for this one.
    if (!WaitForSentinel(false, kKeysTimeoutMs)) return false;
    const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(foreground, nullptr));
    const std::vector<KeyEvent> events = PlanForHost(actions, layout);
    size_t sent = 0;  // events the system has taken
    ScopeExit undo([&]() noexcept {
        try {
            std::vector<INPUT> inputs;
            for (const KeyEvent& e : UndoAfterCut(events, sent)) inputs.push_back(ToInput(e, layout));
            if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        } catch (...) {
        }
    });
    // The keys go in slices of kSliceInputs, each followed by the sentinel and waited for, so
    // the target's queue never holds more than one slice; once kKeysTimeoutMs have passed the
    // rest is not sent. A huge key string thus ends in bounded time and leaves no flood of keys
    // behind that would make the next calls time out.
    const ULONGLONG start = GetTickCount64();
    do {
        const size_t count = std::min(kSliceInputs, events.size() - sent);
        std::vector<INPUT> slice;
        slice.reserve(count + 1);
        for (size_t i = sent; i < sent + count; ++i) slice.push_back(ToInput(events[i], layout));
        slice.push_back(KeyInput(kSentinelKey, false, false, layout));
        const UINT taken = SendInput(static_cast<UINT>(slice.size()), slice.data(), sizeof(INPUT));
        sent += std::min<size_t>(taken, count);
        const ULONGLONG spent = GetTickCount64() - start;
        const bool processed =
            taken == slice.size() && spent < kKeysTimeoutMs && WaitForSentinel(true, kKeysTimeoutMs - spent);
        INPUT release = KeyInput(kSentinelKey, true, false, layout);
        SendInput(1, &release, sizeof(INPUT));
        if (!processed) return false;
        if (sent < events.size()) {
            const ULONGLONG used = GetTickCount64() - start;
            if (used >= kKeysTimeoutMs || !WaitForSentinel(false, kKeysTimeoutMs - used)) return false;
        }
    } while (sent < events.size());
    return true;
}

}  // namespace

bool SendKeystroke(std::wstring_view keys, const Pause& pause, KeyTarget target) {
    std::u16string expanded = ToU16(keys);
    if (ExpandSpaceTokens(expanded) == SpaceTokenStatus::NegativeCount) throw Error(ErrorKind::InvalidProcedureCall);

    HWND host = FindHostWindow();
    if (!host) return false;
    // Windows drops input sent to a program of higher rights without a word: waiting for the
    // keys to arrive would only end in the time-out.
    if (HostRightsGap(host) == RightsGap::HostHigher) return false;
    if (!IsWindowVisible(host)) DeliverCommand(host, kShowMainWindowCommand, true, kHostMessageTimeoutMs);

    HWND activated = nullptr;
    if (target == KeyTarget::MainWindow) {
        // Keys meant for the main window go nowhere else, and a refusal ends the call at once.
        if (!IsWindowEnabled(host) || !(activated = Activate(host))) return false;
    } else {
        // The caption is read with the wide functions, as the captions it is compared with are:
        // in the ANSI code page a character it lacks would turn into "?" and match no caption.
        wchar_t caption[261] = {};
        const int got = GetWindowTextW(host, caption, 261);
        activated =
            ActivateByTitle(got > 0 ? std::wstring(caption, static_cast<size_t>(std::min(got, 260))) : L"Total", host);
    }
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
        // Keys are typed only once the activation succeeded, never into whatever had the focus.
        if (!PlayAndWait(actions, activated)) ok = false;
    }
    try {
        pause.Wait(2);
    } catch (const Error&) {
    }
    return ok;
}

}  // namespace ombrisk
