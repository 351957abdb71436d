#include "host/SelectedFiles.h"

#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/Keystrokes.h"
#include "server/Errors.h"
#include "server/Variants.h"
#include "util/ListResult.h"
#include "util/modUnicode.h"

namespace ombrisk {

namespace {

constexpr WPARAM kCopyNamesCommand = 2017;
constexpr WPARAM kCopyFullNamesCommand = 2018;

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
// it, and emptying tells the clipboard's owner with a sent message; after ClearClip that owner
// is our reply window, and a plain sleep would hold the host's copy until after the read.
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

}  // namespace

void GetSelectedFiles(const HelperState& state, bool withFullPath, bool fromTarget, VARIANT* result) {
    HWND host = FindHostWindow();
    if (!host) return;
    const WPARAM command = withFullPath ? kCopyFullNamesCommand : kCopyNamesCommand;
    const VARIANT& pause = *state.Pause.get();
    std::wstring saved;
    Step([&] { saved = ReadClipboardText(); });

    // The target panel is made active by a Tab before the command and the source panel again
    // by one after it. Without the first Tab the host would copy the source panel's names; a
    // failed second one leaves it unknown which panel is active. Names of the wrong panel are
    // worse than none: either failure gives Empty, with the clipboard text as it was. The wait
    // is computed first, so a Pause that gives none fails the call before any panel switch.
    const int32_t tabWait = fromTarget ? PauseMs(pause, 3) : 0;
    if (fromTarget) {
        if (!SendKeystrokeToHost(state, L"{TAB}")) return;
        SleepMs(tabWait);
    }
    // Only a clipboard that changed after this point holds the host's answer.
    const DWORD sequence = GetClipboardSequenceNumber();
    if (state.Wait)
        SendMessageA(host, kHostCommandMessage, command, 0);
    else
        PostMessageA(host, kHostCommandMessage, command, 0);
    bool tabsArrived = true;
    if (fromTarget) {
        tabsArrived = SendKeystrokeToHost(state, L"{TAB}");
        SleepAnsweringSentMessages(tabWait);
    }
    SleepAnsweringSentMessages(PauseMs(pause, 3));

    if (!tabsArrived) {
        // The names are not returned; the text the host copied over the caller's goes again.
        if (GetClipboardSequenceNumber() != sequence && !saved.empty()) Step([&] { WriteClipboardText(saved); });
    } else if (GetClipboardSequenceNumber() != sequence) {
        std::wstring text;
        Step([&] { text = ReadClipboardText(); });
        if (!text.empty()) {
            if (!saved.empty()) Step([&] { WriteClipboardText(saved); });
            Step([&] { MakeListResult(text, L"\r\n", state.NoArrayReturn, result); });
        }
    }
    Step([&] { SleepMs(PauseMs(pause, 2)); });
}

}  // namespace ombrisk
