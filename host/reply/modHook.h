// modHook: the window procedure placed in front of frmIcon's own, which captures the host's
// "RW" answers, and the per-thread answer store LastReplyW.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

// Saves hwnd as this thread's ReplyHwnd and installs ReplyWndProc in front of its procedure.
void HookReplyWindow(HWND hwnd) noexcept;

// Puts the saved procedure back on ReplyHwnd.
void UnhookReplyWindow() noexcept;

}  // namespace ombrisk
