#include "platform/frmIcon.h"

#include "platform/modHook.h"
#include "server/Errors.h"
#include "platform/Module.h"

namespace ombrisk {

namespace {

const char kClassName[] = "OmbriskReplyWindow";

// Trivially destructible on purpose: per-thread state is torn down explicitly, never by a
// thread_local destructor.
thread_local HWND t_window = nullptr;

ATOM RegisterFormClass() {
    static ATOM atom = 0;  // one registration per process; concurrent first calls both succeed or find it
    if (atom) return atom;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FrmIconWndProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kClassName;
    ATOM a = RegisterClassExA(&wc);
    if (!a && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        WNDCLASSEXA existing{};
        existing.cbSize = sizeof(existing);
        a = static_cast<ATOM>(GetClassInfoExA(ModuleInstance(), kClassName, &existing));
    }
    atom = a;
    return a;
}

}  // namespace

LRESULT CALLBACK FrmIconWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void LoadFrmIcon() {
    if (t_window && IsWindow(t_window)) return;
    t_window = nullptr;
    if (!RegisterFormClass()) throw ScriptError(HRESULT_FROM_WIN32(GetLastError()));
    // A plain top-level window that is never shown: not a message-only window, so that the
    // host can address it like any form.
    HWND h = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             ModuleInstance(), nullptr);
    if (!h) throw ScriptError(HRESULT_FROM_WIN32(GetLastError()));
    t_window = h;
    ModuleAddRef();
    HookReplyWindow(h);
}

void UnloadFrmIcon() noexcept {
    HWND h = t_window;
    if (!h) return;
    t_window = nullptr;
    UnhookReplyWindow();
    DestroyWindow(h);
    ModuleRelease();
}

HWND FrmIconHwnd() {
    LoadFrmIcon();
    return t_window;
}

}  // namespace ombrisk
