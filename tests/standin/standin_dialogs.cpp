// Standard dialogs ("#32770") on the host's thread, as the library's settings-file query finds
// them: modeless, owned by the main window, built from an in-memory template. Children: an OK
// button, then the "Static" controls: the first holds a heading, the second the text.
//   command 690:  after dialog_delay_ms; dialog_text (the token <CR> stands for a carriage
//                 return, <LF> for a line feed) in the second Static; dialog_statics=0|1|2.
//                 Without dialog_text no dialog opens (logged: DIALOG none). dialog_build_ms:
//                 the dialog window exists hidden, with empty Static controls, that long before
//                 its texts are set and it is shown.
//   command 9001: at once; "user dialog", a dialog the user already had open.
// Logged: DIALOG open id=<n> kind=<ini|user> statics=<k>, DIALOG hidden id=<n> (once per
// hiding), DIALOG closed id=<n> (on WM_CLOSE, after which it is destroyed).
// The key dialog is modal, as a file manager's copy dialog is: an edit box and OK. Logged:
// KEYDIALOG open by=<key|cmd>, KEYDIALOG ok text=<edit box text> (Enter), KEYDIALOG cancel.
#include <windows.h>

#include <string>
#include <vector>

#include "standin_host.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr int kKeyEditId = 201;
constexpr int kFirstStaticId = 101;

void put_text(std::vector<WORD>& t, std::wstring_view text) {
    for (wchar_t c : text) t.push_back(static_cast<WORD>(c));
    t.push_back(0);
}

void put_dword(std::vector<WORD>& t, DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
}

void put_item(std::vector<WORD>& t, DWORD style, short x, short y, short cx, short cy, WORD id, WORD class_atom,
              std::wstring_view text) {
    if (t.size() % 2) t.push_back(0);  // items start on a DWORD boundary
    put_dword(t, style | WS_CHILD | WS_VISIBLE);
    put_dword(t, 0);
    for (short v : {x, y, cx, cy}) t.push_back(static_cast<WORD>(v));
    t.push_back(id);
    t.push_back(0xFFFF);
    t.push_back(class_atom);
    put_text(t, text);
    t.push_back(0);  // no creation data
}

std::vector<WORD> dialog_template(std::wstring_view title, int statics) {
    std::vector<WORD> t;
    // Not visible yet: open_dialog shows it once its texts are in place.
    put_dword(t, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    put_dword(t, 0);
    t.push_back(static_cast<WORD>(1 + statics));
    for (short v : {20, 20, 220, 90}) t.push_back(static_cast<WORD>(v));
    t.push_back(0);  // no menu
    t.push_back(0);  // the standard dialog class
    put_text(t, title);
    t.push_back(8);
    put_text(t, L"MS Shell Dlg");
    put_item(t, BS_DEFPUSHBUTTON, 160, 70, 50, 14, IDOK, kButtonAtom, L"OK");
    for (int i = 0; i < statics; ++i)
        put_item(t, SS_LEFT, 10, static_cast<short>(8 + 24 * i), 200, 20, static_cast<WORD>(kFirstStaticId + i), kStaticAtom,
                 L"");
    return t;
}

DialogState* state_of(Host& host, HWND hwnd) {
    const auto it = host.dialogs.find(hwnd);
    return it == host.dialogs.end() ? nullptr : &it->second;
}

void on_hidden(Host& host, HWND hwnd) {
    DialogState* d = state_of(host, hwnd);
    if (!d || !d->visible) return;
    d->visible = false;
    host.log.line(format("DIALOG hidden id=%d", d->id));
}

void on_dialog_close(Host& host, HWND hwnd) {
    if (DialogState* d = state_of(host, hwnd)) host.log.line(format("DIALOG closed id=%d", d->id));
    host.dialogs.erase(hwnd);
    DestroyWindow(hwnd);
}

INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM) {
    Host* host = g_host;
    if (!host) return FALSE;
    switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_SHOWWINDOW:
        if (!wparam) on_hidden(*host, hwnd);
        return FALSE;
    case WM_WINDOWPOSCHANGED:
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE)) {
            on_hidden(*host, hwnd);
        } else if (DialogState* d = state_of(*host, hwnd)) {
            d->visible = true;
        }
        return FALSE;
    case WM_CLOSE: on_dialog_close(*host, hwnd); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) on_dialog_close(*host, hwnd);
        return TRUE;
    default: return FALSE;
    }
}

std::wstring expand_tokens(std::wstring text) {
    for (const auto& [token, with] : {std::pair{L"<CR>", L"\r"}, std::pair{L"<LF>", L"\n"}}) {
        const std::wstring_view t(token);
        for (std::size_t at = text.find(t); at != std::wstring::npos; at = text.find(t, at + 1))
            text.replace(at, t.size(), with);
    }
    return text;
}

// The texts and the show come build_ms after the dialog window (a host busy building its
// dialog): meanwhile the window exists, hidden, and its Static controls are empty.
void open_dialog(Host& host, const char* kind, std::wstring_view title, int statics, const std::wstring& text,
                 long build_ms) {
    const std::vector<WORD> t = dialog_template(title, statics);
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                             host.hwnd, dialog_proc, 0);
    if (!dialog) {
        host.log.line(format("DIALOG failed kind=%s error=%lu", kind, GetLastError()));
        return;
    }
    const int id = ++host.last_dialog_id;
    host.dialogs[dialog] = DialogState{id, false};
    host.log.line(format("DIALOG open id=%d kind=%s statics=%d", id, kind, statics));
    run_after(host, build_ms, [&host, dialog, statics, text] {
        if (!state_of(host, dialog)) return;  // closed before it was finished
        if (statics >= 1) SetDlgItemTextW(dialog, kFirstStaticId, L"Settings files in use");
        if (statics >= 2) SetDlgItemTextW(dialog, kFirstStaticId + 1, text.c_str());
        ShowWindow(dialog, SW_SHOW);
    });
}

// Posted to the key dialog as it starts; taken from its modal loop, when the main window is
// already disabled and the dialog shown. lParam: the "by" text.
constexpr UINT kKeyDialogShown = WM_APP + 40;

INT_PTR CALLBACK key_dialog_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Host* host = g_host;
    if (!host) return FALSE;
    if (msg == WM_INITDIALOG) {
        PostMessageW(hwnd, kKeyDialogShown, 0, lparam);
        return TRUE;  // the focus goes to the edit box, the first control
    }
    if (msg == kKeyDialogShown) {
        host->log.line(format("KEYDIALOG open by=%s", reinterpret_cast<const char*>(lparam)));
        return TRUE;
    }
    if (msg != WM_COMMAND || (LOWORD(wparam) != IDOK && LOWORD(wparam) != IDCANCEL)) return FALSE;
    if (LOWORD(wparam) == IDOK) {
        const HWND edit = GetDlgItem(hwnd, kKeyEditId);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        host->log.line("KEYDIALOG ok text=" + to_utf8(text));
    } else {
        host->log.line("KEYDIALOG cancel");
    }
    EndDialog(hwnd, LOWORD(wparam));
    return TRUE;
}

}  // namespace

void run_key_dialog(Host& host, const char* by) {
    std::vector<WORD> t;
    put_dword(t, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    put_dword(t, 0);
    t.push_back(2);
    for (short v : {30, 30, 260, 60}) t.push_back(static_cast<WORD>(v));
    t.push_back(0);  // no menu
    t.push_back(0);  // the standard dialog class
    put_text(t, L"Key dialog");
    t.push_back(8);
    put_text(t, L"MS Shell Dlg");
    put_item(t, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 10, 240, 14, kKeyEditId, kEditAtom, L"");
    put_item(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 200, 36, 50, 14, IDOK, kButtonAtom, L"OK");
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), host.hwnd,
                            key_dialog_proc, reinterpret_cast<LPARAM>(by));
}

void open_ini_dialog(Host& host) {
    host.config.refresh();
    const auto text = host.config.get(L"dialog_text");
    if (!text) {
        host.log.line("DIALOG none");
        return;
    }
    long statics = host.config.number(L"dialog_statics", 2);
    if (statics < 0) statics = 0;
    if (statics > 2) statics = 2;
    open_dialog(host, "ini", L"Settings", static_cast<int>(statics), expand_tokens(*text),
                host.config.number(L"dialog_build_ms", 0));
}

void open_user_dialog(Host& host) { open_dialog(host, "user", L"User dialog", 2, L"user dialog", 0); }

}  // namespace ombrisk::standin
