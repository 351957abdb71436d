// modUnicode: Unicode clipboard text (CF_UNICODETEXT). Each call opens and closes the
// clipboard; a clipboard another program holds open is retried every 10 ms for up to 100 ms.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ombrisk {

// The clipboard's Unicode text up to its first NUL; empty when there is none or the
// clipboard cannot be opened.
std::wstring ReadClipboardText();

// Replaces the clipboard's content with text (up to its first NUL). Failures are not reported.
void WriteClipboardText(std::wstring_view text);

// Opens the clipboard with owner and empties it; true when both succeeded.
bool ClearClipboard(HWND owner);

}  // namespace ombrisk
