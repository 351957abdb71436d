// The running stand-in host: its state and the handlers its window procedures call, one per
// event kind. Everything runs on the host's one thread; g_host points at the state while the
// message loop runs.
//
// Configuration keys (key=value lines; re-read when the file changes, so most apply to the
// next event; the child windows only at start and on command 9003):
//   log, caption, hidden, window_class            the window (window_class: a second window)
//   cmd_result[.<n>], cmd_delay_ms, cmd_modal_ms.<n>   commands (WM_USER+51)
//   answer.<TEXT>, answer_code.<TEXT>, ignore.<TEXT>, copydata_result[.<CODE>],
//   copydata_sleep_ms[.<CODE>]                    WM_COPYDATA
//   answer_shape.<TEXT>, answer2.<TEXT>           misbehaving answers (see send_answer)
//   answer_hold_ms.<TEXT>                         the handler stays that long after answering
//   refuse_foreground                             the foreground is handed on to a decoy window
//   refuse_foreground_after_cmd                   the same from that command on (and at once)
//   active, path.L, path.R                        panels: Tab switches; "A", "LP", "RP", "SP", "TP"
//   key_delay_ms                                  every key down takes that long to process
//   key_dialog_on                                 the key (vk) that opens the modal key dialog
//   selected.L, selected.R, clip_delay_ms, clip_none                  commands 2017 and 2018
//   dialog_text, dialog_delay_ms, dialog_build_ms, dialog_statics, log_sound,
//   log_sound_raw                                 command 690
//   client_width, client_height, client_x, client_y, sep_x, sep_width, sep_max_width, tpanels,
//   pathbars, pathbar.L, pathbar.R, pathbar_layout, log_layout        child windows
//   tooltip_text, tooltip_class                   command 9002
// Log lines: READY, CMD, SHOW, COPYDATA, ANSWER, SILENT, KEYDOWN, CHAR, PANEL, SYSCOMMAND,
// WM_CLOSE refused, CLOSE, TOPMOST, LATER, DESTROY, SLEEP, HOLD, MODAL, HANG, FOREGROUND, DECOY KEYDOWN, CLICK, SEPARATOR,
// CLIP, SOUND, SOUNDRAW, DIALOG, KEYDIALOG, TOOLTIP, LAYOUT.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "standin_config.h"
#include "standin_log.h"

namespace ombrisk::standin {

struct DialogState {
    int id = 0;
    bool visible = false;  // shown and not hidden since; a hide is logged once
};

struct Host {
    explicit Host(std::wstring config_path) : config(std::move(config_path)), log(L"") {}

    Config config;
    Log log;
    HWND hwnd = nullptr;
    wchar_t active = L'L';  // the active panel, switched by Tab
    bool topmost = false;   // last WS_EX_TOPMOST seen, to log its changes
    bool ready = false;     // READY is logged: start-up is over
    HWND decoy = nullptr;   // refuse_foreground: the window the foreground is handed to
    bool refusing = false;  // refuse_foreground_after_cmd has seen its command
    bool stalled = false;   // key_stall_ms has been spent

    // Child windows. tpanels are the "TPanel" children in z-order; bar is the one of them that a
    // drag moves (null when none is at most sep_max_width pixels wide); bar_x is its client x.
    std::vector<HWND> tpanels;
    HWND bar = nullptr;
    long bar_x = 0;
    bool dragging = false;
    HWND path_holder = nullptr;
    HWND path_bars[2] = {};  // left, right (null when configured away)

    std::map<HWND, DialogState> dialogs;
    int last_dialog_id = 0;
    std::map<HWND, std::wstring> tooltips;

    std::map<UINT_PTR, std::function<void()>> timers;
    UINT_PTR next_timer = 100;
};

extern Host* g_host;

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

inline std::string decimal(HWND hwnd) { return std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)); }

// With refuse_foreground=1, hands the foreground on to a decoy window (posted, so it happens
// once the current activation is over).
void hand_foreground_away(Host& host);

// Runs action on the host's thread from a timer ms milliseconds from now; at once when ms <= 0.
void run_after(Host& host, long ms, std::function<void()> action);

// Registers a window class of the stand-in's module once; false when that fails.
bool ensure_class(const wchar_t* name, WNDPROC proc, HBRUSH background = nullptr, UINT style = 0);

// standin_panels.cpp: the client size, the "TPanel" children with the separator bar and the
// "TPathPanel" path bars, laid out from client_width, sep_x, sep_width, tpanels, pathbars,
// pathbar.L/R. Returns the LAYOUT line for the log (command 9003 lays out again and logs it).
std::string apply_layout(Host& host);
// The panel path path.<L|R> (defaults C:\Left\ and D:\Right\).
std::wstring panel_path(const Host& host, wchar_t side);

// standin_dialogs.cpp: command 690 (after dialog_delay_ms) and command 9001.
void open_ini_dialog(Host& host);
void open_user_dialog(Host& host);
// The modal key dialog (an edit box and OK, owned by the main window, which it disables): opened
// by the key key_dialog_on names or by command 9004 (by = "key" or "cmd"); returns when it is
// closed. OK logs the edit box's text.
void run_key_dialog(Host& host, const char* by);

// standin_clip.cpp: commands 2017 and 2018 put the active panel's selected names on the clipboard.
void copy_selected_names(Host& host, long command);

// standin_tooltips.cpp: command 9002 opens one "TToolTip" window per text of tooltip_text.
void open_tooltips(Host& host);

}  // namespace ombrisk::standin
