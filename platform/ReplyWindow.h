// The reply window: a message-only window, one per thread and shared by every object of that thread.
// It is the address for the host's WM_COPYDATA answers and the clipboard's owner. Creating an
// object loads it; releasing any object of the thread destroys it, and the next request of a
// surviving object creates it again. Everything here runs on the script's thread: the host's
// answer is delivered to the window while this thread waits for the request to be handled.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace ombrisk {

// This thread's window, created first when it does not exist. Throws Error when it cannot be made.
HWND ReplyWindow();

// Destroys this thread's window, if any.
void DestroyReplyWindow() noexcept;

// Unregisters the window class; the DLL calls it when it is unloaded (no window exists then).
void UnregisterReplyWindowClass() noexcept;

// Sends one request: dwData = code, the payload's first cbData bytes, wParam = the reply window
// (created first if needed). Returns the host's result, or nothing when the host did not handle
// the request within 10 s (kHostMessageTimeoutMs), was hung, or its window went. When answer is given it
// receives the text of the last "RW" answer that arrived while the request was handled, and
// stays empty (no value) when none did.
std::optional<LRESULT> SendCopyDataRequest(HWND host, uint32_t code, const void* payload, uint32_t cbData,
                                           std::optional<std::wstring>* answer = nullptr);

}  // namespace ombrisk
