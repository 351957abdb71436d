// The clipboard members: Unicode text (CF_UNICODETEXT) read, written and cleared. Each call opens
// and closes the clipboard; a clipboard another program holds open is retried every 10 ms for up
// to 100 ms. The reply window is the clipboard's owner.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/Pause.h"
#include "platform/Raii.h"

namespace ombrisk {

// Opens the clipboard for owner into guard, waiting up to limitMs for another program that
// holds it open; false when it stayed closed.
bool OpenClipboardSoon(HWND owner, std::optional<ClipboardOpen>& guard, DWORD limitMs = 100);

// The clipboard's Unicode text up to its first NUL; empty when there is none or the
// clipboard cannot be opened.
std::wstring GetTextFromClip();

// One look, no waiting: the clipboard's Unicode text, opened with opener; nothing when another
// program holds the clipboard open (opened is then false) or it holds no text.
std::optional<std::wstring> TryClipText(HWND opener, bool& opened);

// SetTextToClip: replaces the clipboard's content with text (up to its first NUL), with
// ClipboardDataOwner(reply window) as the clipboard's owner. The block is made before the
// clipboard is touched, so a text that does not fit in memory leaves the clipboard as it was.
// Failures are not reported.
void SetTextToClip(std::wstring_view text);

// ClearClip: opens the clipboard with the reply window and empties it, then waits Pause \ 3;
// true when both succeeded.
bool ClearClip(const Pause& pause);

}  // namespace ombrisk
