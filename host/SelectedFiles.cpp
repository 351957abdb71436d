#include "host/SelectedFiles.h"

#include "chores/Clipboard.h"
#include "chores/ClipboardSnapshot.h"
#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/Keystrokes.h"
#include "platform/Messages.h"
#include "platform/ReplyWindow.h"

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

// The names of the source panel, or of the target panel (fromTarget) made active by a Tab
// before the copy command and the source panel again by one after it.
std::optional<std::wstring> GetSelectedFiles(bool withFullPath, bool fromTarget, bool wait, const Pause& pause) {
    HWND host = FindHostWindow();
    if (!host) return std::nullopt;
    const WPARAM command = withFullPath ? kCopyFullNamesCommand : kCopyNamesCommand;
    const int32_t thirdPause = pause.Ms(3);
    const int32_t halfPause = pause.Ms(2);

    // Everything of the user's on the clipboard, to go back once the host has copied the names.
    ClipboardSnapshot saved;
    Step([&] { saved = ClipboardSnapshot::Take(); });

    // Without the first Tab the host would copy the source panel's names; a failed second one
    // leaves it unknown which panel is active. Names of the wrong panel are worse than none:
    // either failure gives nothing (no command after a failed first Tab).
    if (fromTarget) {
        if (!SendKeystroke(L"{TAB}", pause)) return std::nullopt;
        SleepMs(thirdPause);
    }
    // Only a clipboard that changed after this point holds the host's answer.
    const DWORD sequence = GetClipboardSequenceNumber();
    // A sent copy command that is not handled in time (a hung host is not waited for at all) asked nothing.
    const bool asked = DeliverCommand(host, command, wait, kHostMessageTimeoutMs).has_value();

    // From here on the host may have replaced the clipboard: what was saved goes back on every
    // path, a failing Tab included (its error is raised afterwards).
    std::exception_ptr failure;
    bool tabsArrived = true;
    if (fromTarget) {
        try {
            tabsArrived = SendKeystroke(L"{TAB}", pause);
        } catch (...) {
            failure = std::current_exception();
        }
        SleepAnsweringSentMessages(thirdPause);
    }
    SleepAnsweringSentMessages(thirdPause);
    // A busy host or a long selection can take longer than the fixed waits.
    const bool copied = asked && WaitForClipboardChange(sequence, kCopyGraceMs);

    std::optional<std::wstring> names;
    if (copied && tabsArrived && !failure) {
        Step([&] {
            std::wstring text = GetTextFromClip();
            if (!text.empty()) names = std::move(text);
        });
    }
    // An empty clipboard before the call keeps the names: there is nothing of the user's to restore.
    if (!saved.empty() && GetClipboardSequenceNumber() != sequence) Step([&] { saved.PutBack(ReplyWindow()); });
    if (failure) std::rethrow_exception(failure);
    SleepMs(halfPause);
    return names;
}

}  // namespace

std::optional<std::wstring> GetSrcSelectedFiles(bool withFullPath, bool wait, const Pause& pause) {
    return GetSelectedFiles(withFullPath, false, wait, pause);
}

std::optional<std::wstring> GetTrgSelectedFiles(bool withFullPath, bool wait, const Pause& pause) {
    return GetSelectedFiles(withFullPath, true, wait, pause);
}

}  // namespace ombrisk
