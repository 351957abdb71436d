// Commands 2017 and 2018: the active panel's selected names on the clipboard as Unicode text,
// separated by CR LF with none after the last; 2018 puts path.<L|R> before each name.
//   selected.L / selected.R  names separated by "|"; "@gen:<n>" makes file00001.txt ... n names
//   clip_delay_ms=<n>        copy from a timer n ms later (the command returns at once)
//   clip_none=1              copy nothing
//   clip_hold_ms=<n>         keep the clipboard open after the copy for
//                            n ms, as a clipboard watcher quicker than the reader would
// Logged when the clipboard is set: CLIP <L|R> count=<n> cmd=<2017|2018>; or CLIP none; with
// clip_hold_ms, CLIP released when it is closed.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "standin.h"
#include "standin_host.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

std::vector<std::wstring> selected_names(const Host& host, wchar_t side) {
    const std::wstring value = host.config.text(std::wstring(L"selected.") + side, L"");
    std::vector<std::wstring> names;
    long generated = 0;
    if (value.starts_with(L"@gen:") && parse_long(value.substr(5), generated)) {
        wchar_t name[32];
        for (long i = 1; i <= generated; ++i) {
            swprintf(name, 32, L"file%05ld.txt", i);
            names.emplace_back(name);
        }
        return names;
    }
    if (value.empty()) return names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = value.find(L'|', start);
        names.push_back(value.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
    return names;
}

// keepOpen: the clipboard stays open (the caller closes it), so no other program can open it in
// between, as a watcher quicker than any reader would hold it.
bool put_on_clipboard(HWND owner, const std::wstring& text, bool keepOpen) {
    bool open = false;
    for (int attempt = 0; attempt < 100 && !open; ++attempt) {
        open = OpenClipboard(owner) != FALSE;
        if (!open) Sleep(10);
    }
    if (!open) return false;
    bool done = false;
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* p = GlobalLock(block)) {
            std::memcpy(p, text.c_str(), bytes);
            GlobalUnlock(block);
            done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        }
        if (!done) GlobalFree(block);
    }
    if (!done || !keepOpen) CloseClipboard();
    return done;
}

void copy_now(Host& host, wchar_t side, long command) {
    host.config.refresh();
    const std::vector<std::wstring> names = selected_names(host, side);
    const std::wstring prefix = command == kCopyFullNamesCommand ? panel_path(host, side) : std::wstring();
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i) text += L"\r\n";
        text += prefix + names[i];
    }
    const long hold = host.config.number(L"clip_hold_ms", 0);
    if (!put_on_clipboard(host.hwnd, text, hold > 0)) {
        host.log.line(format("CLIP failed error=%lu", GetLastError()));
        return;
    }
    // The change is out (the clipboard's sequence number moved on); a reader finds it held.
    const bool held = hold > 0;
    host.log.line(format("CLIP %c count=%zu cmd=%ld", static_cast<char>(side), names.size(), command));
    if (held)
        run_after(host, hold, [&host] {
            CloseClipboard();
            host.log.line("CLIP released");
        });
}

}  // namespace

void copy_selected_names(Host& host, long command) {
    if (host.config.number(L"clip_none", 0) != 0) {
        host.log.line("CLIP none");
        return;
    }
    // The panel that is active when the command arrives is the one copied, however late.
    const wchar_t side = host.active;
    run_after(host, host.config.number(L"clip_delay_ms", 0), [&host, side, command] { copy_now(host, side, command); });
}

}  // namespace ombrisk::standin
