// modHook: the window procedure placed in front of frmIcon's own, which captures the host's
// "RW" answers, the per-thread answer store LastReplyW, and the way every WM_COPYDATA request
// is sent. All of it lives on the script's thread: the host's answer is delivered to the reply
// window on this thread while the request waits for the host.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace ombrisk {

// Saves hwnd as this thread's ReplyHwnd and installs ReplyWndProc in front of its procedure.
void HookReplyWindow(HWND hwnd) noexcept;

// Puts the saved procedure back on ReplyHwnd.
void UnhookReplyWindow() noexcept;

// How long a request may take: a host that has not handled it by then, or that does not pump
// its messages at all (hung), has not answered.
inline constexpr UINT kCopyDataTimeoutMs = 10000;

// Sends one request: dwData = code, the payload's first cbData bytes, wParam = frmIcon's
// handle (the window is created first if needed). Returns the host's result, or nothing when
// the host did not handle the request within kCopyDataTimeoutMs, was hung, or its window went.
std::optional<LRESULT> SendCopyDataRequest(HWND host, uint32_t code, const void* payload, uint32_t cbData);

// The text of the most recent "RW" answer on this thread (empty before any).
std::wstring LastReplyW();

// Counts the "RW" answers stored on this thread, so a caller can tell whether its own
// request was answered.
uint32_t ReplyCount() noexcept;

// Frees this thread's stored answer; called when the thread's last object is released.
void ReleaseReplyState() noexcept;

}  // namespace ombrisk
