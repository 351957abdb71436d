#include "host/reply/modHook.h"

namespace ombrisk {

namespace {

thread_local HWND t_replyHwnd = nullptr;
thread_local WNDPROC t_prevWndProc = nullptr;

LRESULT CALLBACK ReplyWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(t_prevWndProc, hwnd, msg, wParam, lParam);
}

}  // namespace

void HookReplyWindow(HWND hwnd) noexcept {
    t_replyHwnd = hwnd;
    t_prevWndProc = reinterpret_cast<WNDPROC>(SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(ReplyWndProc)));
}

void UnhookReplyWindow() noexcept {
    if (t_replyHwnd && t_prevWndProc) SetWindowLongA(t_replyHwnd, GWL_WNDPROC, reinterpret_cast<LONG>(t_prevWndProc));
    t_replyHwnd = nullptr;
    t_prevWndProc = nullptr;
}

}  // namespace ombrisk
