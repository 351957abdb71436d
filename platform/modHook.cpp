#include "platform/modHook.h"

#include "core/CopyData.h"
#include "platform/frmIcon.h"
#include "platform/Text.h"

#include <new>

namespace ombrisk {

namespace {

// Trivially destructible per-thread state, torn down explicitly.
thread_local HWND t_replyHwnd = nullptr;
thread_local WNDPROC t_prevWndProc = nullptr;
thread_local std::wstring* t_lastReply = nullptr;
thread_local uint32_t t_replyCount = 0;

void StoreCopyDataReply(LPARAM lParam) noexcept {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!cds || cds->dwData != kCopyDataRW) return;
    try {
        const std::u16string text = DecodeRwAnswer(static_cast<const uint8_t*>(cds->lpData), cds->cbData);
        if (!t_lastReply) t_lastReply = new std::wstring();
        t_lastReply->assign(AsWide(text));
        ++t_replyCount;
    } catch (...) {
        // Out of memory while storing an answer: the answer is lost, the window keeps working.
    }
}

LRESULT CALLBACK ReplyWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) StoreCopyDataReply(lParam);
    WNDPROC previous = t_prevWndProc ? t_prevWndProc : FrmIconWndProc;
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

}  // namespace

void HookReplyWindow(HWND hwnd) noexcept {
    t_replyHwnd = hwnd;
    t_prevWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReplyWndProc)));
}

void UnhookReplyWindow() noexcept {
    if (t_replyHwnd && t_prevWndProc)
        SetWindowLongPtrA(t_replyHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(t_prevWndProc));
    t_replyHwnd = nullptr;
    t_prevWndProc = nullptr;
}

std::optional<LRESULT> SendCopyDataRequest(HWND host, uint32_t code, const void* payload, uint32_t cbData) {
    COPYDATASTRUCT cds{};
    cds.dwData = code;
    cds.cbData = cbData;
    cds.lpData = const_cast<void*>(payload);
    HWND reply = FrmIconHwnd();
    // SMTO_NORMAL, never SMTO_BLOCK: the host's answer is a message sent to the reply window on
    // this thread while we wait, and it must be let in.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(host, WM_COPYDATA, reinterpret_cast<WPARAM>(reply), reinterpret_cast<LPARAM>(&cds),
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, kCopyDataTimeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

std::wstring LastReplyW() { return t_lastReply ? *t_lastReply : std::wstring(); }

uint32_t ReplyCount() noexcept { return t_replyCount; }

void ReleaseReplyState() noexcept {
    delete t_lastReply;
    t_lastReply = nullptr;
}

}  // namespace ombrisk
