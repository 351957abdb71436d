#include "platform/ReplyWindow.h"

#include "core/CopyData.h"
#include "platform/Error.h"
#include "platform/Messages.h"
#include "platform/Module.h"
#include "platform/Raii.h"
#include "platform/Text.h"

#include <utility>

namespace ombrisk {

namespace {

const char kClassName[] = "OmbriskReplyWindow";

// One per thread, trivially destructible: nothing runs at thread exit (MinGW's thread_local
// destructors misbehave then) and there is nothing to free. pendingAnswer points at the answer
// slot of the request this thread is sending, if any.
struct ThreadReplyState {
    HWND window;
    std::optional<std::wstring>* pendingAnswer;
};
thread_local ThreadReplyState t_reply{};

INIT_ONCE g_classOnce = INIT_ONCE_STATIC_INIT;
ATOM g_classAtom = 0;

void StoreAnswer(const COPYDATASTRUCT* cds) noexcept {
    if (!cds || cds->dwData != kCopyDataRW || !t_reply.pendingAnswer) return;
    try {
        *t_reply.pendingAnswer = ToWide(DecodeRwAnswer(static_cast<const uint8_t*>(cds->lpData), cds->cbData));
    } catch (...) {
        // Out of memory while storing an answer: the answer is lost, the window keeps working.
    }
}

LRESULT CALLBACK ReplyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        StoreAnswer(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Registers the class once per process; a failed registration is tried again at the next call.
BOOL CALLBACK RegisterReplyClass(PINIT_ONCE, PVOID, PVOID*) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ReplyWindowProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kClassName;
    g_classAtom = RegisterClassExA(&wc);
    return g_classAtom != 0;
}

}  // namespace

HWND ReplyWindow() {
    if (t_reply.window && IsWindow(t_reply.window)) return t_reply.window;
    t_reply.window = nullptr;
    if (!InitOnceExecuteOnce(&g_classOnce, RegisterReplyClass, nullptr, nullptr)) throw Error::FromLastError();
    // A message-only window: the host addresses it by its handle, and no broadcast (a program that
    // sends one to every top-level window) ever waits on the script.
    HWND h = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), nullptr);
    if (!h) throw Error::FromLastError();
    t_reply.window = h;
    ModuleAddRef();
    return h;
}

void DestroyReplyWindow() noexcept {
    UniqueWindow window(std::exchange(t_reply.window, nullptr));
    if (!window) return;
    window.reset();
    ModuleRelease();
}

void UnregisterReplyWindowClass() noexcept {
    if (g_classAtom) UnregisterClassA(kClassName, ModuleInstance());
}

std::optional<LRESULT> SendCopyDataRequest(HWND host, uint32_t code, const void* payload, uint32_t cbData,
                                           std::optional<std::wstring>* answer) {
    COPYDATASTRUCT cds{};
    cds.dwData = code;
    cds.cbData = cbData;
    cds.lpData = const_cast<void*>(payload);
    HWND reply = ReplyWindow();
    if (answer) answer->reset();
    // Requests do not nest on one thread, but a slot is put back as it was all the same.
    std::optional<std::wstring>* const outer = std::exchange(t_reply.pendingAnswer, answer);
    // The host's answer is a message sent to the reply window on this thread while we wait.
    const std::optional<LRESULT> result =
        SendWithin(host, WM_COPYDATA, reinterpret_cast<WPARAM>(reply), reinterpret_cast<LPARAM>(&cds));
    t_reply.pendingAnswer = outer;
    // An answer to a request not handled in time is not its answer.
    if (!result && answer) answer->reset();
    return result;
}

}  // namespace ombrisk
