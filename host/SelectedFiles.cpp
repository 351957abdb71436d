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

}  // namespace

void GetSelectedFiles(const HelperState& state, bool withFullPath, bool fromTarget, VARIANT* result) {
    HWND host = FindHostWindow();
    if (!host) return;
    const WPARAM command = withFullPath ? kCopyFullNamesCommand : kCopyNamesCommand;
    const VARIANT& pause = *state.Pause.get();
    std::wstring saved;
    Step([&] { saved = ReadClipboardText(); });

    if (fromTarget) {
        SendKeystrokeToHost(state, L"{TAB}");
        SleepMs(PauseMs(pause, 3));
    }
    // Only a clipboard that changed after this point holds the host's answer.
    const DWORD sequence = GetClipboardSequenceNumber();
    if (state.Wait)
        SendMessageA(host, kHostCommandMessage, command, 0);
    else
        PostMessageA(host, kHostCommandMessage, command, 0);
    if (fromTarget) {
        SendKeystrokeToHost(state, L"{TAB}");
        SleepMs(PauseMs(pause, 3));
    }
    SleepMs(PauseMs(pause, 3));

    if (GetClipboardSequenceNumber() != sequence) {
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
