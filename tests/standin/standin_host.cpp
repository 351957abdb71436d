// The host: a top-level "TTOTAL_CMD" window whose procedure logs every message the library
// relies on and answers it as the configuration says. One handler per event kind; the child
// windows, dialogs, clipboard and tooltips live in the other standin_*.cpp files.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "standin.h"
#include "standin_host.h"
#include "standin_text.h"

namespace ombrisk::standin {

Host* g_host = nullptr;  // the host runs one window on one thread

namespace {

std::string class_name_of(HWND hwnd) {
    wchar_t name[256] = {};
    if (!hwnd || !GetClassNameW(hwnd, name, 256)) return {};
    return to_utf8(name);
}

std::wstring code_text(ULONG_PTR code) {
    std::wstring s;
    for (int shift = 0; shift < 16; shift += 8) {
        const wchar_t c = static_cast<wchar_t>((code >> shift) & 0xFF);
        s += (c >= 0x20 && c < 0x7F) ? c : L'?';
    }
    return s;
}

// The asterisk sound value (type and bytes) as the library changes it while it waits for the
// settings dialog; false when it is missing.
bool read_sound(DWORD& type, std::vector<BYTE>& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"AppEvents\\Schemes\\Apps\\.Default\\SystemAsterisk\\.Current", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return false;
    data.assign(2048, 0);
    DWORD size = static_cast<DWORD>(data.size());
    const LONG rc = RegQueryValueExW(key, nullptr, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    data.resize(rc == ERROR_SUCCESS ? size : 0);
    return rc == ERROR_SUCCESS;
}

// "SOUND [<text>]" (the value read as text, up to 1023 characters) or "SOUND missing".
void log_sound(Host& host) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!read_sound(type, data)) {
        host.log.line("SOUND missing");
        return;
    }
    std::wstring value(reinterpret_cast<const wchar_t*>(data.data()), std::min<size_t>(data.size() / sizeof(wchar_t), 1023));
    host.log.line("SOUND [" + to_utf8(value.c_str()) + "]");
}

// The same value's type and exact bytes: "SOUNDRAW type=<n> bytes=<hex>", or "SOUNDRAW missing".
void log_sound_raw(Host& host) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!read_sound(type, data)) {
        host.log.line("SOUNDRAW missing");
        return;
    }
    std::string hex;
    for (BYTE b : data) hex += format("%02X", b);
    host.log.line("SOUNDRAW type=" + std::to_string(type) + " bytes=" + hex);
}

// Keeps the window responsive for ms milliseconds, as a host does while a dialog it opened for
// a command is on screen: messages are dispatched, the command has not returned. A quit
// request ends the wait early and is passed on to the main loop.
void work_modally(Host& host, long cmd, long ms) {
    host.log.line(format("MODAL begin cmd=%ld ms=%ld", cmd, ms));
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms);
    bool quit = false;
    int exit_code = 0;
    for (ULONGLONG now = GetTickCount64(); !quit && now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                exit_code = static_cast<int>(msg.wParam);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    host.log.line(format("MODAL end cmd=%ld", cmd));
    if (quit) PostQuitMessage(exit_code);
}

// strict=1: whatever the test did not declare is logged as "UNEXPECTED ..." (the harness fails a
// script whose log holds such a line). A list key holds items separated by commas or blanks.
bool strict(const Host& host) { return host.config.number(L"strict", 0) != 0; }

bool listed(const Host& host, const wchar_t* list_key, const std::wstring& item) {
    const std::wstring list = host.config.text(list_key, L"");
    size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && (list[i] == L',' || list[i] == L' ')) ++i;
        size_t j = i;
        while (j < list.size() && list[j] != L',' && list[j] != L' ') ++j;
        if (j > i && list.compare(i, j - i, item) == 0) return true;
        i = j;
    }
    return false;
}

// A command is expected when expect_cmd lists it or cmd_result.<n> is configured; the stand-in's
// own commands (sent by `ctl send` to build its windows) always are.
bool command_expected(const Host& host, long cmd) {
    if (cmd == kUserDialogCommand || cmd == kTooltipCommand || cmd == kLayoutCommand || cmd == kKeyDialogCommand)
        return true;
    const std::wstring n = std::to_wstring(cmd);
    return listed(host, L"expect_cmd", n) || host.config.get(L"cmd_result." + n).has_value();
}

// A "GW" request is expected when expect_gw lists its text or any answer key names it.
bool request_expected(const Host& host, const std::wstring& key) {
    if (listed(host, L"expect_gw", key)) return true;
    for (const wchar_t* prefix : {L"answer.", L"answer_code.", L"answer_shape.", L"ignore."})
        if (host.config.get(prefix + key)) return true;
    return false;
}

LRESULT on_command(Host& host, WPARAM wparam, LPARAM lparam) {
    host.config.refresh();
    const bool sent = InSendMessage();
    const auto cmd = static_cast<long>(static_cast<LONG>(wparam));
    host.log.line(format("CMD %s %ld lparam=%ld", sent ? "sent" : "posted", cmd, static_cast<long>(lparam)));
    // Only a configured number counts (the two fall-backs differ when there is none): any number,
    // -1 included, may arrive as a command.
    const long refuseAfter = host.config.number(L"refuse_foreground_after_cmd", 0);
    if (refuseAfter == host.config.number(L"refuse_foreground_after_cmd", 1) && cmd == refuseAfter) {
        host.refusing = true;
        hand_foreground_away(host);
    }
    if (strict(host) && !command_expected(host, cmd)) host.log.line(format("UNEXPECTED CMD %ld", cmd));
    switch (cmd) {
    case kShowCommand:
        ShowWindow(host.hwnd, SW_SHOW);
        host.log.line("SHOW");
        break;
    case kIniFilesCommand:
        if (host.config.number(L"log_sound", 0) != 0) log_sound(host);
        if (host.config.number(L"log_sound_raw", 0) != 0) log_sound_raw(host);
        run_after(host, host.config.number(L"dialog_delay_ms", 0), [&host] { open_ini_dialog(host); });
        break;
    case kCopyNamesCommand:
    case kCopyFullNamesCommand: copy_selected_names(host, cmd); break;
    case kUserDialogCommand: open_user_dialog(host); break;
    case kTooltipCommand: open_tooltips(host); break;
    case kLayoutCommand: host.log.line(apply_layout(host)); break;
    case kKeyDialogCommand: run_key_dialog(host, "cmd"); break;
    default: break;
    }
    if (host.config.number(L"cmd_exit." + std::to_wstring(cmd), 0) != 0) {
        host.log.line(format("EXIT during cmd=%ld", cmd));
        ExitProcess(3);
    }
    if (const long delay = host.config.number(L"cmd_delay_ms", 0); delay > 0) Sleep(static_cast<DWORD>(delay));
    if (const long modal = host.config.number(L"cmd_modal_ms." + std::to_wstring(cmd), 0); modal > 0)
        work_modally(host, cmd, modal);
    const long fallback = host.config.number(L"cmd_result", 1);
    return host.config.number(L"cmd_result." + std::to_wstring(cmd), fallback);
}

// What the host answers to a "GW" request: answer.<TEXT> when configured; otherwise the active
// side for "A", and for the path requests the configured path.L / path.R (only when that key
// is present, so a host configured without paths stays silent as before).
std::optional<std::wstring> answer_for(const Host& host, const std::wstring& key) {
    if (auto answer = host.config.get(L"answer." + key)) return answer;
    if (key == L"A") return std::wstring(1, host.active);
    wchar_t side = 0;
    if (key == L"LP") side = L'L';
    if (key == L"RP") side = L'R';
    if (key == L"SP") side = host.active;
    if (key == L"TP") side = host.active == L'L' ? L'R' : L'L';
    if (side && host.config.get(std::wstring(L"path.") + side)) return panel_path(host, side);
    return std::nullopt;
}

// A "GW" request: ANSI text up to the first NUL. The answer goes back, before we return, to
// the window named in wParam: by default as "RW" in UTF-16LE with a terminating U+0000;
// answer_code.<TEXT> picks another code, and "RA" sends ANSI text with one NUL instead.
// Sends one answer to reply_to and logs it. answer_shape.<TEXT> makes the host misbehave on
// purpose: "empty" (cbData 0), "null" (cbData 0 and no data), "odd" (no terminator, one stray
// byte after the text), "noterm" (no terminator), "big" (the answer padded with "x" to 1 MiB of
// text), "twice" (a second answer, answer2.<TEXT>, right after the first), "later" (answered
// 100 ms after the request returned, from a timer), "destroy" (the main window is destroyed
// while the request is handled, nothing answered).
void send_answer(Host& host, HWND reply_to, const std::string& request, const std::wstring& text, const std::wstring& code,
                 const std::wstring& shape) {
    ULONG_PTR dw_data = kCodeRW;
    if (code.size() == 2) dw_data = (code[0] & 0xFF) | ((code[1] & 0xFF) << 8);
    std::string payload;
    if (code == L"RA") {
        payload = to_ansi(text) + '\0';
    } else {
        std::wstring body = text;
        if (shape == L"big" && body.size() < 524288) body.append(524288 - body.size(), L'x');
        if (shape != L"noterm" && shape != L"odd") body += L'\0';
        payload.assign(reinterpret_cast<const char*>(body.data()), body.size() * sizeof(wchar_t));
        if (shape == L"odd") payload += 'Z';
    }
    COPYDATASTRUCT reply{dw_data, static_cast<DWORD>(payload.size()), payload.data()};
    if (shape == L"empty" || shape == L"null") reply.cbData = 0;
    if (shape == L"null") reply.lpData = nullptr;
    DWORD_PTR result = 0;
    const LRESULT delivered = SendMessageTimeoutW(reply_to, WM_COPYDATA, reinterpret_cast<WPARAM>(host.hwnd),
                                                  reinterpret_cast<LPARAM>(&reply), SMTO_NORMAL, 5000, &result);
    host.log.line(format("ANSWER %s code=%s cb=%lu delivered=%d", request.c_str(), to_utf8(code_text(dw_data)).c_str(),
                         reply.cbData, delivered ? 1 : 0));
}

void answer_request(Host& host, HWND reply_to, const COPYDATASTRUCT& cds) {
    const char* bytes = static_cast<const char*>(cds.lpData);
    std::string request;
    for (DWORD i = 0; bytes && i < cds.cbData && bytes[i] != '\0'; ++i) request += bytes[i];
    const std::wstring key = from_ansi(request);
    if (strict(host) && !request_expected(host, key)) host.log.line("UNEXPECTED GW " + request);
    const std::wstring shape = host.config.text(L"answer_shape." + key, L"");
    if (shape == L"destroy") {
        host.log.line("DESTROY during " + request);
        DestroyWindow(host.hwnd);
        return;
    }
    const auto answer = answer_for(host, key);
    if (host.config.number(L"ignore." + key, 0) != 0 || !answer) {
        host.log.line("SILENT " + request);
        return;
    }
    const std::wstring code = host.config.text(L"answer_code." + key, L"RW");
    if (shape == L"later") {
        host.log.line("LATER " + request);
        run_after(host, 100, [&host, reply_to, request, text = *answer, code] {
            send_answer(host, reply_to, request, text, code, L"");
        });
        return;
    }
    send_answer(host, reply_to, request, *answer, code, shape);
    if (shape == L"twice") send_answer(host, reply_to, request, host.config.text(L"answer2." + key, L""), code, L"");
    // answer_hold_ms.<TEXT>: the host stays in the handler after it has answered, pumping nothing.
    if (const long hold = host.config.number(L"answer_hold_ms." + key, 0); hold > 0) {
        host.log.line(format("HOLD begin %s ms=%ld", request.c_str(), hold));
        Sleep(static_cast<DWORD>(hold));
        host.log.line("HOLD end " + request);
    }
}

LRESULT on_copydata(Host& host, HWND from, const COPYDATASTRUCT* cds) {
    host.config.refresh();
    if (!cds) {
        host.log.line("COPYDATA none");
        return 0;
    }
    const std::wstring code = code_text(cds->dwData);
    host.log.line(format("COPYDATA code=%s dwData=%lX cb=%lu from=%s from_class=%s bytes=", to_utf8(code).c_str(),
                         static_cast<unsigned long>(cds->dwData), cds->cbData, decimal(from).c_str(),
                         class_name_of(from).c_str()) +
                  (cds->lpData ? hex_bytes(cds->lpData, cds->cbData) : std::string()));
    // copydata_sleep_ms[.<CODE>]: the host stops in the middle of handling the request, pumping
    // no messages, before it answers and returns.
    const long fallback_sleep = host.config.number(L"copydata_sleep_ms", 0);
    if (const long sleep = host.config.number(L"copydata_sleep_ms." + code, fallback_sleep); sleep > 0) {
        host.log.line(format("SLEEP begin code=%s ms=%ld", to_utf8(code).c_str(), sleep));
        Sleep(static_cast<DWORD>(sleep));
        host.log.line(format("SLEEP end code=%s", to_utf8(code).c_str()));
    }
    // copydata_exit[.<CODE>]=1: the host process ends in the middle of handling the request.
    if (host.config.number(L"copydata_exit." + code, host.config.number(L"copydata_exit", 0)) != 0) {
        host.log.line(format("EXIT during code=%s", to_utf8(code).c_str()));
        ExitProcess(3);
    }
    if (cds->dwData == kCodeGW) {
        answer_request(host, from, *cds);
    } else if (strict(host) && !listed(host, L"expect_copydata", code) && !host.config.get(L"copydata_result." + code)) {
        host.log.line(format("UNEXPECTED COPYDATA code=%s", to_utf8(code).c_str()));
    }
    const long fallback = host.config.number(L"copydata_result", 0);
    return host.config.number(L"copydata_result." + code, fallback);
}

bool key_down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// WM_KEYDOWN / WM_SYSKEYDOWN. The modifier state is the one the message was queued with; ext
// is the extended-key bit (bit 24 of lParam), caps the Caps Lock toggle. key_delay_ms makes every key slow to process,
// key_stall_ms stops the host for that long at the first key after it is set (once); Tab
// switches the active panel; the key key_dialog_on names opens the modal key dialog.
void on_key_down(Host& host, WPARAM vk, LPARAM lparam) {
    host.config.refresh();
    if (const long delay = host.config.number(L"key_delay_ms", 0); delay > 0) Sleep(static_cast<DWORD>(delay));
    if (const long stall = host.config.number(L"key_stall_ms", 0); stall > 0 && !host.stalled) {
        host.stalled = true;
        Sleep(static_cast<DWORD>(stall));
    }
    host.log.line(format("KEYDOWN vk=%u shift=%d ctrl=%d alt=%d ext=%d caps=%d", static_cast<unsigned>(vk),
                         key_down(VK_SHIFT), key_down(VK_CONTROL), key_down(VK_MENU), (lparam >> 24) & 1 ? 1 : 0,
                         GetKeyState(VK_CAPITAL) & 1));
    // expect_keys=1 declares keystrokes (the library's sentinel key, vk 232, is one too).
    if (strict(host) && host.config.number(L"expect_keys", 0) == 0)
        host.log.line(format("UNEXPECTED KEYDOWN vk=%u", static_cast<unsigned>(vk)));
    if (vk == VK_TAB) {
        host.active = host.active == L'L' ? L'R' : L'L';
        host.log.line(format("PANEL %c", static_cast<char>(host.active)));
    }
    if (static_cast<long>(vk) == host.config.number(L"key_dialog_on", -1)) run_key_dialog(host, "key");
}

void on_char(Host& host, WPARAM code) { host.log.line(format("CHAR code=%u", static_cast<unsigned>(code & 0xFFFF))); }

// Close requests by keys (Alt+F4 arrives as SC_CLOSE) and the menu key are logged and refused,
// so no key string can end the host or stall it in a menu loop.
bool on_syscommand(Host& host, WPARAM wparam) {
    const UINT code = static_cast<UINT>(wparam & 0xFFF0);
    if (code == SC_CLOSE) {
        host.log.line("SYSCOMMAND close refused");
        return true;
    }
    if (code == SC_KEYMENU) {
        host.log.line("SYSCOMMAND keymenu refused");
        return true;
    }
    return false;
}

void on_close_request(Host& host) { host.log.line("WM_CLOSE refused"); }

// `ctl hang <ms>`: the host's thread stops pumping messages for ms milliseconds, so that the
// system comes to count it as not responding.
void on_hang(Host& host, long ms) {
    host.log.line(format("HANG begin ms=%ld", ms));
    Sleep(static_cast<DWORD>(ms));
    host.log.line("HANG end");
}

void on_stop(Host& host) {
    host.log.line("CLOSE");
    DestroyWindow(host.hwnd);
}

// Logs each change of the topmost style (the separator drag makes the host topmost for a moment).
void on_position_changed(Host& host) {
    const bool topmost = (GetWindowLongW(host.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (topmost == host.topmost) return;
    host.topmost = topmost;
    host.log.line(format("TOPMOST %d", topmost ? 1 : 0));
}

void on_click(Host& host, UINT msg, LPARAM lparam) {
    const bool left = msg == WM_LBUTTONDOWN;
    host.log.line(format("CLICK window=main x=%d y=%d button=%c", static_cast<short>(LOWORD(lparam)),
                         static_cast<short>(HIWORD(lparam)), left ? 'L' : 'R'));
}

// refuse_foreground=1: whenever the main window is activated it hands the foreground on to a
// decoy window of its own, which logs any key it gets as "DECOY KEYDOWN vk=<n>".
LRESULT CALLBACK decoy_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && g_host)
        g_host->log.line(format("DECOY KEYDOWN vk=%u", static_cast<unsigned>(wparam)));
    if (msg == WM_CLOSE) return 0;
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

void hand_foreground_away(Host& host) {
    host.config.refresh();
    if (host.config.number(L"refuse_foreground", 0) == 0 && !host.refusing) return;
    if (!host.decoy && ensure_class(L"StandInDecoy", decoy_proc, nullptr))
        host.decoy = CreateWindowExW(0, L"StandInDecoy", L"Decoy window", WS_OVERLAPPEDWINDOW, 900, 0, 200, 100, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!host.decoy) return;
    host.log.line("FOREGROUND refused");
    PostMessageW(host.hwnd, kRefuseForegroundMessage, 0, 0);
}

namespace {

void on_activate(Host& host, WPARAM wparam) {
    if (LOWORD(wparam) != WA_INACTIVE && host.ready) hand_foreground_away(host);
}

void on_timer(Host& host, UINT_PTR id) {
    KillTimer(host.hwnd, id);
    const auto it = host.timers.find(id);
    if (it == host.timers.end()) return;
    const std::function<void()> action = std::move(it->second);
    host.timers.erase(it);
    action();
}

LRESULT CALLBACK host_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Host* host = g_host;
    if (host && host->hwnd == hwnd) {
        switch (msg) {
        case kCommandMessage: return on_command(*host, wparam, lparam);
        case WM_COPYDATA:
            return on_copydata(*host, reinterpret_cast<HWND>(wparam), reinterpret_cast<const COPYDATASTRUCT*>(lparam));
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            on_key_down(*host, wparam, lparam);
            break;  // DefWindowProc turns Alt+F4 into SC_CLOSE, which is refused below
        case WM_CHAR:
        case WM_SYSCHAR: on_char(*host, wparam); return 0;
        case WM_SYSCOMMAND:
            if (on_syscommand(*host, wparam)) return 0;
            break;
        case WM_CLOSE: on_close_request(*host); return 0;
        case kStopMessage: on_stop(*host); return 0;
        case kHangMessage: on_hang(*host, static_cast<long>(wparam)); return 0;
        case WM_WINDOWPOSCHANGED: on_position_changed(*host); break;
        case WM_GETMINMAXINFO:
            // Let client_width=0 really give a client area of width 0.
            reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = POINT{0, 0};
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: on_click(*host, msg, lparam); return 0;
        case WM_TIMER: on_timer(*host, wparam); return 0;
        case WM_ACTIVATE: on_activate(*host, wparam); break;
        case kRefuseForegroundMessage:
            ShowWindow(host->decoy, SW_SHOW);
            host->log.line(format("FOREGROUND to decoy set=%d now_decoy=%d", SetForegroundWindow(host->decoy) ? 1 : 0,
                                  GetForegroundWindow() == host->decoy ? 1 : 0));
            return 0;

        case WM_DESTROY:
            RemovePropW(hwnd, kMarkProperty);
            PostQuitMessage(0);
            return 0;
        default:
            // A private message (WM_USER up to the registered ones) that the host does not know.
            if (msg >= WM_USER && msg < 0xC000 && strict(*host))
                host->log.line(format("UNEXPECTED MSG %u wparam=%ld lparam=%ld", msg, static_cast<long>(wparam),
                                      static_cast<long>(lparam)));
            break;
        }
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

void run_after(Host& host, long ms, std::function<void()> action) {
    if (ms <= 0) {
        action();
        return;
    }
    const UINT_PTR id = host.next_timer++;
    host.timers[id] = std::move(action);
    if (!SetTimer(host.hwnd, id, static_cast<UINT>(ms), nullptr)) {
        host.timers.erase(id);
        host.log.line("TIMER failed");
    }
}

bool ensure_class(const wchar_t* name, WNDPROC proc, HBRUSH background, UINT style) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

int run_host(const std::wstring& config_path) {
    Host host(config_path);
    if (!host.config.refresh()) return 2;
    const auto log_path = host.config.get(L"log");
    if (!log_path || log_path->empty()) return 2;
    host.log = Log(*log_path);
    if (!host.log.truncate()) return 2;
    host.active = host.config.text(L"active", L"L") == L"R" ? L'R' : L'L';
    g_host = &host;

    const std::wstring window_class = host.config.text(L"window_class", kHostClass);
    if (!ensure_class(window_class.c_str(), host_proc)) return 3;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring caption = host.config.text(L"caption", L"Total Commander stand-in");
    host.hwnd = CreateWindowExW(0, window_class.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800,
                                600, nullptr, nullptr, instance, nullptr);
    if (!host.hwnd) return 3;
    SetPropW(host.hwnd, kMarkProperty, reinterpret_cast<HANDLE>(1));
    const std::string layout = apply_layout(host);
    if (host.config.number(L"hidden", 0) == 0) {
        ShowWindow(host.hwnd, SW_SHOW);
        UpdateWindow(host.hwnd);
        SetForegroundWindow(host.hwnd);
    }
    // READY comes first in the log and last in the start-up, so whoever waits for it finds the
    // window complete.
    host.log.line(
        format("READY hwnd=%s pid=%lu tid=%lu", decimal(host.hwnd).c_str(), GetCurrentProcessId(), GetCurrentThreadId()));
    host.ready = true;
    hand_foreground_away(host);
    if (host.config.number(L"log_layout", 0) != 0) host.log.line(layout);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_host = nullptr;
    return 0;
}

}  // namespace ombrisk::standin
