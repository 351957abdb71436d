// Command 9002: one top-level popup of class tooltip_class (default "TToolTip") per text of
// tooltip_text (texts separated by "|"), like the percentage the host shows while the
// separator is dragged. They never take the focus and sit at the screen's bottom right, away
// from the host's window. Logged: TOOLTIP open text=<t>, TOOLTIP closed text=<t> on WM_CLOSE
// (then destroyed).
#include <windows.h>

#include <string>

#include "standin_host.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

LRESULT CALLBACK tooltip_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Host* host = g_host;
    if (host && msg == WM_CLOSE) {
        const auto it = host->tooltips.find(hwnd);
        host->log.line("TOOLTIP closed text=" + to_utf8(it == host->tooltips.end() ? L"?" : it->second));
        if (it != host->tooltips.end()) host->tooltips.erase(it);
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

void open_tooltips(Host& host) {
    const std::wstring class_name = host.config.text(L"tooltip_class", L"TToolTip");
    if (!ensure_class(class_name.c_str(), tooltip_proc)) {
        host.log.line("TOOLTIP failed class=" + to_utf8(class_name));
        return;
    }
    const std::wstring texts = host.config.text(L"tooltip_text", L"50.0 %");
    const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
    std::size_t start = 0;
    for (int i = 0;; ++i) {
        const std::size_t bar = texts.find(L'|', start);
        const std::wstring text = texts.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
        HWND tip = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, class_name.c_str(), text.c_str(),
                                   WS_POPUP, screen_w - 90, screen_h - 30 - 22 * (i % 10), 80, 20, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (tip) {
            ShowWindow(tip, SW_SHOWNOACTIVATE);
            host.tooltips[tip] = text;
            host.log.line("TOOLTIP open text=" + to_utf8(text));
        }
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
}

}  // namespace ombrisk::standin
