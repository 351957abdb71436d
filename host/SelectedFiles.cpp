#include "host/SelectedFiles.h"

#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/Keystrokes.h"
#include "platform/frmIcon.h"
#include "server/Errors.h"
#include "server/Variants.h"
#include "chores/ClipboardSnapshot.h"
#include "server/ListResult.h"
#include "chores/Clipboard.h"

#include <exception>
#include <string>

namespace ombrisk {

namespace {

constexpr WPARAM kCopyNamesCommand = 2017;
constexpr WPARAM kCopyFullNamesCommand = 2018;
// After the fixed waits, a copy that has not reached the clipboard yet is waited for this much
// longer, looking every kCopyPollMs.
constexpr int32_t kCopyGraceMs = 1000;
constexpr int32_t kCopyPollMs = 10;

// A step that fails is skipped; the method goes on with the next one.
template <typename F>
void Step(F&& f) noexcept {
    try {
        f();
    } catch (...) {
    }
}

// Sleeps ms milliseconds (at least looks once) while answering the messages other threads
// send to this thread's windows. Before the host puts the names on the clipboard it empties
// it, and emptying tells the clipboard's owner with a sent message; when that owner is our
// reply window, a plain sleep would hold the host's copy until after the read.
void SleepAnsweringSentMessages(int32_t ms) noexcept {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms > 0 ? ms : 0);
    for (;;) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE, 0);
    }
}

// True as soon as the clipboard's sequence number differs from sequence; false when it has not
// changed within limitMs. Sent messages are answered meanwhile.
bool WaitForClipboardChange(DWORD sequence, int32_t limitMs) noexcept {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(limitMs > 0 ? limitMs : 0);
    while (GetClipboardSequenceNumber() == sequence) {
        if (GetTickCount64() >= end) return false;
        SleepAnsweringSentMessages(kCopyPollMs);
    }
    return true;
}

// Sends (waitIt) or posts the copy command. False when it could not be posted, or when a sent
// command was not handled in time (SendBounded: a hung host is not waited for at all).
bool AskHostToCopy(HWND host, WPARAM command, bool waitIt) noexcept {
    if (!waitIt) return PostMessageA(host, kHostCommandMessage, command, 0) != FALSE;
    return SendBounded(host, kHostCommandMessage, command, 0);
}

}  // namespace

void GetSelectedFiles(const HelperState& state, bool withFullPath, bool fromTarget, VARIANT* result) {
    HWND host = FindHostWindow();
    if (!host) return;
    const WPARAM command = withFullPath ? kCopyFullNamesCommand : kCopyNamesCommand;
    const VARIANT& pause = *state.Pause.get();
    const int32_t thirdPause = PauseMs(pause, 3);
    const int32_t halfPause = PauseMs(pause, 2);

    // Everything of the user's on the clipboard, to go back once the host has copied the names.
    ClipboardSnapshot saved;
    Step([&] { saved = ClipboardSnapshot::Take(); });

    // The target panel is made active by a Tab before the command and the source panel again
    // by one after it. Without the first Tab the host would copy the source panel's names; a
    // failed second one leaves it unknown which panel is active. Names of the wrong panel are
    // worse than none: either failure gives Empty (no command after a failed first Tab).
    if (fromTarget) {
        if (!SendKeystrokeToHost(state, L"{TAB}")) return;
        SleepMs(thirdPause);
    }
    // Only a clipboard that changed after this point holds the host's answer.
    const DWORD sequence = GetClipboardSequenceNumber();
    const bool asked = AskHostToCopy(host, command, state.Wait);

    // From here on the host may have replaced the clipboard: what was saved goes back on every
    // path, a failing Tab included (its error is raised afterwards).
    std::exception_ptr failure;
    bool tabsArrived = true;
    if (fromTarget) {
        try {
            tabsArrived = SendKeystrokeToHost(state, L"{TAB}");
        } catch (...) {
            failure = std::current_exception();
        }
        SleepAnsweringSentMessages(thirdPause);
    }
    SleepAnsweringSentMessages(thirdPause);
    // A busy host or a long selection can take longer than the fixed waits.
    const bool copied = asked && WaitForClipboardChange(sequence, kCopyGraceMs);

    if (copied && tabsArrived && !failure) {
        std::wstring text;
        Step([&] { text = ReadClipboardText(); });
        if (!text.empty()) Step([&] { MakeListResult(text, L"\r\n", state.NoArrayReturn, result); });
    }
    // An empty clipboard before the call keeps the names: there is nothing of the user's to restore.
    if (!saved.empty() && GetClipboardSequenceNumber() != sequence) Step([&] { saved.PutBack(FrmIconHwnd()); });
    if (failure) std::rethrow_exception(failure);
    SleepMs(halfPause);
}

}  // namespace ombrisk
