#include "host/SelectedFiles.h"

#include "chores/Clipboard.h"
#include "host/ClipboardSnapshot.h"
#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/Keystrokes.h"
#include "platform/Messages.h"
#include "platform/ReplyWindow.h"
#include "platform/Wait.h"

#include <exception>
#include <string>

namespace ombrisk {

namespace {

// A copy that has not reached the clipboard within the fixed waits is waited for this much longer.
constexpr int32_t kCopyGraceMs = 1000;

// The host's copy, read as soon as the host has put it there and closed the clipboard again,
// within limitMs; nothing when it did not come or could not be read. The reply window opens the
// clipboard: a window, so that no other opener is let in while the host holds the clipboard
// open. A clipboard history or manager may hold the clipboard for a while after the copy. A look
// costs next to nothing until the clipboard has changed after sequence, so it is taken every
// millisecond. looked tells whether the clipboard was opened after it changed.
std::optional<std::wstring> ReadCopy(DWORD sequence, int32_t limitMs, bool& looked) {
    HWND reader = nullptr;
    Step([&] { reader = ReplyWindow(); });
    std::optional<std::wstring> text;
    WaitUntil(
        [&] {
            if (GetClipboardSequenceNumber() == sequence) return false;
            bool opened = false;
            try {
                text = TryClipText(reader, opened);
            } catch (...) {
                text.reset();  // out of memory for the names: looked at again, or none
            }
            looked = looked || opened;
            return text.has_value();
        },
        limitMs, 1);
    return text;
}

// The names selected in the source panel, or in the target panel (fromTarget) made active by a
// Tab before the copy command and the source panel again by one after it.
std::optional<std::wstring> GetSelectedFiles(bool withFullPath, bool fromTarget, bool wait, const Pause& pause) {
    HWND host = FindHostWindow();
    if (!host) return std::nullopt;
    const WPARAM command = withFullPath ? kCopyFullNamesCommand : kCopyNamesCommand;
    const int32_t thirdPause = pause.Ms(3);
    const int32_t halfPause = pause.Ms(2);

    // Without the first Tab the host would copy the source panel's names; a failed second one
    // leaves it unknown which panel is active. Names of the wrong panel are worse than none:
    // either failure gives nothing. The Tabs go only to the main window: in a dialog of the host
    // a Tab switches no panel, while the dialog's message loop still runs the copy command.
    if (fromTarget) {
        if (!SendKeystroke(L"{TAB}", pause, KeyTarget::MainWindow)) return std::nullopt;
        WaitMs(thirdPause);
    }
    // Everything of the user's on the clipboard, to go back once the host has copied the names.
    ClipboardSnapshot saved;
    Step([&] { saved = ClipboardSnapshot::Take(); });

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
            tabsArrived = SendKeystroke(L"{TAB}", pause, KeyTarget::MainWindow);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    bool looked = false;  // the clipboard was opened after the host changed it
    std::optional<std::wstring> text;
    if (asked) text = ReadCopy(sequence, thirdPause * (fromTarget ? 2 : 1) + kCopyGraceMs, looked);
    std::optional<std::wstring> names;
    if (text && !text->empty() && tabsArrived && !failure) names = std::move(text);
    // An empty clipboard before the call keeps the names: there is nothing of the user's to
    // restore. Names that could never be read stay too: the user can still paste them.
    if (!saved.empty() && looked && GetClipboardSequenceNumber() != sequence) Step([&] { saved.PutBack(ReplyWindow()); });
    if (failure) std::rethrow_exception(failure);
    WaitMs(halfPause);
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
