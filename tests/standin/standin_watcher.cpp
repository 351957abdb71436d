// `ctl clipwatch <config>`: a clipboard watcher such as a clipboard history or manager. It
// listens for clipboard changes and, after each one, opens the clipboard, reads its text and
// keeps it open for watch_hold_ms (default 250) before closing it. Config keys (re-read at
// every change): log=<path> (required), watch_hold_ms=<ms>. Logged: WATCH ready, then per
// change WATCH open seq=<n> / WATCH closed, or WATCH busy when it could not open the clipboard
// within 5 s. Stops on `ctl stop`, like the host.
#include <windows.h>

#include "standin.h"
#include "standin_config.h"
#include "standin_host.h"
#include "standin_log.h"

namespace ombrisk::standin {

namespace {

constexpr wchar_t kWatcherClass[] = L"OmbriskClipWatcher";

struct Watcher {
    Config config;
    Log log;
};

Watcher* g_watcher = nullptr;

void hold_clipboard(HWND hwnd, Watcher& w) {
    w.config.refresh();
    const long hold = w.config.number(L"watch_hold_ms", 250);
    bool open = false;
    for (int attempt = 0; attempt < 500 && !(open = OpenClipboard(hwnd) != FALSE); ++attempt) Sleep(10);
    if (!open) {
        w.log.line("WATCH busy");
        return;
    }
    w.log.line(format("WATCH open seq=%lu", GetClipboardSequenceNumber()));
    // Looked at, as a history would keep it.
    if (HANDLE text = GetClipboardData(CF_UNICODETEXT); text && GlobalLock(text)) GlobalUnlock(text);
    Sleep(static_cast<DWORD>(hold < 0 ? 0 : hold));
    CloseClipboard();
    w.log.line("WATCH closed");
}

LRESULT CALLBACK watcher_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CLIPBOARDUPDATE:
        if (g_watcher) hold_clipboard(hwnd, *g_watcher);
        return 0;
    case kStopMessage: DestroyWindow(hwnd); return 0;
    case WM_DESTROY:
        RemoveClipboardFormatListener(hwnd);
        RemovePropW(hwnd, kMarkProperty);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(hwnd, msg, wparam, lparam);
    }
}

}  // namespace

int run_clip_watcher(const std::wstring& config_path) {
    Watcher watcher{Config(config_path), Log(L"")};
    const auto log_path = watcher.config.refresh() ? watcher.config.get(L"log") : std::nullopt;
    if (!log_path || log_path->empty()) return 2;
    watcher.log = Log(*log_path);
    g_watcher = &watcher;
    ensure_class(kWatcherClass, watcher_proc);
    // A hidden top-level window carrying the stand-in's mark, so `ctl stop` ends it too.
    HWND hwnd = CreateWindowExW(0, kWatcherClass, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd || !SetPropW(hwnd, kMarkProperty, reinterpret_cast<HANDLE>(1)) || !AddClipboardFormatListener(hwnd)) return 1;
    watcher.log.line("WATCH ready");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    g_watcher = nullptr;
    return 0;
}

}  // namespace ombrisk::standin
