#include "host/Keystrokes.h"

#include "core/KeyEvents.h"
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
// caption or a longer one beginning alike never gets the keys meant for the host. A window a
// modal dialog keeps disabled hands on to its last active popup, as Alt+Tab does.
// Returns the window activated; null when no window matches or the system refuses it the
// foreground (then at once) or it does not take it within kActivateTimeoutMs.
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
    if (!IsWindowEnabled(target)) {
        HWND popup = GetLastActivePopup(target);
        if (popup && popup != target && IsWindowVisible(popup) && IsWindowEnabled(popup)) target = popup;
    }
    if (!SetForegroundWindow(target) && GetForegroundWindow() != target) return nullptr;
    // A window of another thread becomes the foreground window only once its thread has
    // handled the activation; keys sent before that would find no focus to go to.
    if (!WaitUntil([&] { return GetForegroundWindow() == target; }, kActivateTimeoutMs, 5)) return nullptr;
    return target;
}

INPUT KeyInput(WORD vk, bool up, bool extended, HKL layout) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

// The inputs for actions as the host's keyboard layout types them, after letting go of the
// modifiers the system reports down (the user's, or those of a hotkey still held).
std::vector<INPUT> ToInputs(const std::vector<KeyAction>& actions, HKL layout) {
    std::vector<uint16_t> held;
    for (uint16_t key : kHeldModifierKeys)
        if (GetAsyncKeyState(key) & 0x8000) held.push_back(key);
    const std::vector<KeyEvent> events = PlanKeyEvents(actions, held, [layout](char16_t ch) {
        const SHORT scan = VkKeyScanExW(static_cast<wchar_t>(ch), layout);
        // The top bit of the character a key types marks a dead key.
        const bool dead = scan != -1 && (MapVirtualKeyExW(LOBYTE(scan), MAPVK_VK_TO_CHAR, layout) & 0x80000000u) != 0;
        return LayoutKey{scan, dead};
    });
    std::vector<INPUT> inputs;
    inputs.reserve(events.size());
    for (const KeyEvent& e : events) {
        if (e.vk != 0) {
            inputs.push_back(KeyInput(e.vk, e.up, e.extended, layout));
            continue;
        }
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = static_cast<WORD>(e.unit);
        in.ki.dwFlags = KEYEVENTF_UNICODE | (e.up ? KEYEVENTF_KEYUP : 0);
        inputs.push_back(in);
    }
    return inputs;
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
// system's state has the key down too.
bool PlayAndWait(const std::vector<KeyAction>& actions, HWND activated) {
    HWND foreground = GetForegroundWindow();
    // A window that took the foreground from the activated one before the first key gets none.
    if (foreground != activated) return false;
    const InputAttachment attachment = InputAttachment::Attach(foreground, AttachOrder::CallerToHost);
    // The sentinel of an earlier call is let go first, so its down bit cannot count for this one.
    if (!WaitForSentinel(false, kKeysTimeoutMs)) return false;
    const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(foreground, nullptr));
    const std::vector<INPUT> inputs = ToInputs(actions, layout);
    // The keys go in slices of kSliceInputs, each followed by the sentinel and waited for, so
    // the target's queue never holds more than one slice; once kKeysTimeoutMs have passed the
    // rest is not sent. A huge key string thus ends in bounded time and leaves no flood of keys
    // behind that would make the next calls time out.
    const ULONGLONG start = GetTickCount64();
    size_t next = 0;
    do {
        const size_t count = std::min(kSliceInputs, inputs.size() - next);
        std::vector<INPUT> slice(inputs.begin() + static_cast<ptrdiff_t>(next),
                                 inputs.begin() + static_cast<ptrdiff_t>(next + count));
        next += count;
        slice.push_back(KeyInput(kSentinelKey, false, false, layout));
        const UINT sent = SendInput(static_cast<UINT>(slice.size()), slice.data(), sizeof(INPUT));
        const ULONGLONG spent = GetTickCount64() - start;
        const bool processed =
            sent == slice.size() && spent < kKeysTimeoutMs && WaitForSentinel(true, kKeysTimeoutMs - spent);
        INPUT release = KeyInput(kSentinelKey, true, false, layout);
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
