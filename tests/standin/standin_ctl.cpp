// `standin.exe ctl ...`: what test scripts run (through WScript.Shell's Run) to start and
// stop the host, to wait, and to send the host the messages the library would send.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "standin.h"
#include "standin_config.h"
#include "standin_handle.h"
#include "standin_host.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoHost = 255;

void complain(const std::string& text) {
    // Visible when started from a console or by the harness; scripts get only the exit code.
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (!err || err == INVALID_HANDLE_VALUE) return;
    const std::string line = "standin: " + text + "\n";
    DWORD written = 0;
    WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::wstring own_exe_path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring quoted(const std::wstring& arg) { return L"\"" + arg + L"\""; }

std::wstring exe_name_of(DWORD pid) {
    unique_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    std::wstring p(path, size);
    const std::size_t slash = p.find_last_of(L"\\/");
    return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

bool has_ready_line(const std::wstring& log_path, DWORD pid) {
    unique_handle h(CreateFileW(log_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h.get(), buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
    // The pid check keeps a READY line left in the log by an earlier host from counting.
    return data.find(" pid=" + std::to_string(pid) + " ") != std::string::npos && data.starts_with("READY ");
}

bool has_window_of(DWORD pid) {
    for (HWND hwnd : find_marked_windows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid) return true;
    }
    return false;
}

int ctl_start(const std::wstring& config_path) {
    Config config(config_path);
    const auto log_path = config.refresh() ? config.get(L"log") : std::nullopt;
    if (!log_path || log_path->empty()) {
        complain("the configuration has no log= line or cannot be read");
        return kExitUsage;
    }
    const std::wstring exe = own_exe_path();
    std::wstring command_line = quoted(exe) + L" host " + quoted(config_path);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        complain("cannot start the host process");
        return kExitFailed;
    }
    unique_handle process(pi.hProcess);
    unique_handle thread(pi.hThread);
    const ULONGLONG deadline = GetTickCount64() + 15000;
    while (GetTickCount64() < deadline) {
        if (has_ready_line(*log_path, pi.dwProcessId) && has_window_of(pi.dwProcessId)) return kExitOk;
        if (WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0) {
            complain("the host process ended before it was ready");
            return kExitFailed;
        }
    }
    complain("the host did not become ready within 15 s");
    return kExitFailed;
}

// Every stand-in window of any class closes; the host refuses WM_CLOSE, so it gets the
// private stop message that nothing else sends.
int ctl_stop() {
    for (HWND hwnd : find_marked_windows()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == 0 || _wcsicmp(exe_name_of(pid).c_str(), L"standin.exe") != 0) continue;
        unique_handle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
        PostMessageW(hwnd, kStopMessage, 0, 0);
        if (process && WaitForSingleObject(process.get(), 5000) == WAIT_TIMEOUT) {
            complain("the host did not close within 5 s; terminating it");
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 2000);
        }
    }
    return kExitOk;
}

HWND first_host() {
    const std::vector<HWND> hosts = find_standin_windows();
    return hosts.empty() ? nullptr : hosts.front();
}

int ctl_command(const std::wstring& number, bool send) {
    long cmd = 0;
    if (!parse_long(number, cmd)) return kExitUsage;
    const HWND host = first_host();
    if (!host) return kExitNoHost;
    const auto wparam = static_cast<WPARAM>(static_cast<ULONG_PTR>(cmd));
    if (!send) return PostMessageW(host, kCommandMessage, wparam, 0) ? kExitOk : kExitFailed;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(host, kCommandMessage, wparam, 0, SMTO_NORMAL, 30000, &result)) return kExitFailed;
    return static_cast<int>(result);
}

// Makes the host stop pumping messages for ms milliseconds; returns once the request is queued.
int ctl_hang(const std::wstring& duration) {
    long ms = 0;
    if (!parse_long(duration, ms) || ms < 0) return kExitUsage;
    const HWND host = first_host();
    if (!host) return kExitNoHost;
    return PostMessageW(host, kHangMessage, static_cast<WPARAM>(ms), 0) ? kExitOk : kExitFailed;
}

// Collects what the host sends to the client window while a request is pending.
std::wstring g_replies;

LRESULT CALLBACK client_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
        std::wstring text;
        if (cds && cds->lpData && cds->dwData == kCodeRA) {
            const auto* bytes = static_cast<const char*>(cds->lpData);
            text = from_ansi(std::string(bytes, strnlen(bytes, cds->cbData)));
        } else if (cds && cds->lpData) {
            const auto* units = static_cast<const wchar_t*>(cds->lpData);
            for (DWORD i = 0; i < cds->cbData / sizeof(wchar_t) && units[i] != L'\0'; ++i) text += units[i];
        }
        wchar_t head[96];
        std::swprintf(head, 96, L"reply dwData=%lX cb=%lu text=", cds ? static_cast<unsigned long>(cds->dwData) : 0UL,
                      cds ? cds->cbData : 0UL);
        g_replies += head + text + L"\r\n";
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

// Sends a "GW" request the way the library frames it (48-byte buffer, text, one NUL) from a
// hidden window of our own, and writes the send result and every reply (text read as UTF-16,
// or as ANSI for "RA") to out_path in UTF-16LE with a BOM.
int ctl_ask(const std::wstring& request, const std::wstring& out_path) {
    const std::string ansi = to_ansi(request);
    if (ansi.size() > 47) return kExitUsage;
    const HWND host = first_host();
    if (!host) return kExitNoHost;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = client_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClientClass;
    RegisterClassExW(&wc);
    const HWND client =
        CreateWindowExW(0, kClientClass, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    if (!client) return kExitFailed;
    char buffer[48] = {};
    ansi.copy(buffer, ansi.size());
    COPYDATASTRUCT cds{kCodeGW, static_cast<DWORD>(ansi.size() + 1), buffer};
    DWORD_PTR result = 0;
    const LRESULT delivered = SendMessageTimeoutW(host, WM_COPYDATA, reinterpret_cast<WPARAM>(client),
                                                  reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 30000, &result);
    DestroyWindow(client);
    const std::wstring out = L"\xFEFFresult=" + std::to_wstring(static_cast<long>(result)) + L" delivered=" +
                             std::to_wstring(delivered ? 1 : 0) + L"\r\n" + g_replies;
    unique_handle file(CreateFileW(out_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const auto size = static_cast<DWORD>(out.size() * sizeof(wchar_t));
    if (!file || !WriteFile(file.get(), out.data(), size, &written, nullptr)) return kExitFailed;
    return delivered ? kExitOk : kExitFailed;
}

struct PropSearch {
    const std::wstring* name;
    bool found;
};

BOOL CALLBACK find_prop(HWND, LPWSTR key, HANDLE, ULONG_PTR param) {
    auto* s = reinterpret_cast<PropSearch*>(param);
    if (!IS_INTRESOURCE(key) && _wcsicmp(s->name->c_str(), key) == 0) s->found = true;  // atoms ignore case
    return TRUE;
}

struct WindowCount {
    const std::wstring* name;
    int n;
    HWND found = nullptr;
};

BOOL CALLBACK count_window(HWND hwnd, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    wchar_t name[256] = {};
    if (GetClassNameW(hwnd, name, 256) && *c->name == name) ++c->n;
    return TRUE;
}

// Exit code = the value of window property `name` on the stand-in's window; -1 when the
// window lacks it, -2 when no stand-in runs.
int ctl_getprop(const std::wstring& name) {
    const HWND host = first_host();
    if (!host) return -2;
    PropSearch search{&name, false};
    // GetProp cannot tell a missing property from the value 0; the enumeration can.
    EnumPropsExW(host, find_prop, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return -1;
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(host, name.c_str())));
}

// Exit code = the number of windows of class `class_name` in the session: top-level windows,
// hidden ones included, plus message-only windows.
int ctl_countwindows(const std::wstring& class_name) {
    WindowCount count{&class_name, 0};
    EnumWindows(count_window, reinterpret_cast<LPARAM>(&count));
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, class_name.c_str(), nullptr)) != nullptr;) ++count.n;
    return count.n;
}

BOOL CALLBACK find_window_of_class(HWND hwnd, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    wchar_t name[256] = {};
    if (!GetClassNameW(hwnd, name, 256) || *c->name != name) return TRUE;
    c->found = hwnd;
    return FALSE;
}

// Whether the thread owning the first window of class `class_name` (top-level or message-only)
// shares the stand-in host thread's input state, as attached threads do: GetGUIThreadInfo
// reports the same active and focus windows for both. Exit code 1 shared, 0 not shared, 3 when
// it cannot tell (the host thread has no active window), -1 no such window, -2 no stand-in.
int ctl_sharesinput(const std::wstring& class_name) {
    const HWND host = first_host();
    if (!host) return -2;
    WindowCount search{&class_name, 0};
    EnumWindows(find_window_of_class, reinterpret_cast<LPARAM>(&search));
    if (!search.found) search.found = FindWindowExW(HWND_MESSAGE, nullptr, class_name.c_str(), nullptr);
    if (!search.found) return -1;
    GUITHREADINFO host_info{};
    GUITHREADINFO other_info{};
    host_info.cbSize = other_info.cbSize = sizeof(GUITHREADINFO);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(host, nullptr), &host_info)) return kExitFailed;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(search.found, nullptr), &other_info)) return 0;
    if (!host_info.hwndActive) return 3;
    return host_info.hwndActive == other_info.hwndActive && host_info.hwndFocus == other_info.hwndFocus ? 1 : 0;
}

// Closes the top-level window titled `title` (a message box, say) once it exists and at least
// `ms` milliseconds have passed: OK first, WM_CLOSE if that does not end it. Gives up after
// ms + 10 s; exit code 0 when the window went away.
int ctl_closebox(const std::wstring& title, const std::wstring& delay) {
    long ms = 0;
    if (!parse_long(delay, ms) || ms < 0) return kExitUsage;
    const ULONGLONG start = GetTickCount64();
    const ULONGLONG give_up = start + static_cast<ULONGLONG>(ms) + 10000;
    HWND box = nullptr;
    while (GetTickCount64() < give_up) {
        box = FindWindowW(nullptr, title.c_str());
        if (box && GetTickCount64() >= start + static_cast<ULONGLONG>(ms)) break;
        box = nullptr;
        Sleep(20);
    }
    if (!box) return kExitFailed;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
    if (IsWindow(box)) PostMessageW(box, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
    return IsWindow(box) ? kExitFailed : kExitOk;
}

// Stays until it is killed. The harness keeps one running for the whole test run: while any
// program runs, Wine keeps the desktop process alive, and re-creating the desktop for each
// script would cost about 10 s every time. Creates ready_path once the desktop exists.
int ctl_resident(const std::wstring& ready_path) {
    GetDesktopWindow();  // creates the desktop now, during set-up
    unique_handle ready(CreateFileW(ready_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ready.reset();
    for (;;) Sleep(INFINITE);
}

// Empties the clipboard as another program does, ms milliseconds from now, and appends to
// log_path "EMPTYCLIP begin opened=<0|1> ms=<n>" once the clipboard is open and "EMPTYCLIP end
// emptied=<0|1> ms=<n>" once EmptyClipboard has returned, each with the time that step took. A
// clipboard owner that does not answer holds the opening under Wine, the emptying on Windows,
// so the end line shows when the owner answered.
int ctl_emptyclip(const std::wstring& delay, const std::wstring& log_path) {
    long ms = 0;
    if (!parse_long(delay, ms) || ms < 0) return kExitUsage;
    Sleep(static_cast<DWORD>(ms));
    const Log log(log_path);
    const ULONGLONG asked = GetTickCount64();
    bool opened = false;
    for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
        opened = OpenClipboard(nullptr) != FALSE;
        if (!opened) Sleep(10);
    }
    log.line(format("EMPTYCLIP begin opened=%d ms=%llu", opened ? 1 : 0,
                    static_cast<unsigned long long>(GetTickCount64() - asked)));
    const ULONGLONG start = GetTickCount64();
    const bool emptied = opened && EmptyClipboard();
    const auto took = static_cast<unsigned long long>(GetTickCount64() - start);
    if (opened) CloseClipboard();
    log.line(format("EMPTYCLIP end emptied=%d ms=%llu", emptied ? 1 : 0, took));
    return emptied ? kExitOk : kExitFailed;
}

// Exit code 1 when the stand-in's window is visible, 0 when hidden, -2 when none runs.
int ctl_visible() {
    const HWND host = first_host();
    if (!host) return -2;
    return IsWindowVisible(host) ? 1 : 0;
}

// Writes text through OutputDebugStringA, so tests can check how the harness captures it.
int ctl_debug(const std::wstring& text) {
    OutputDebugStringA(to_ansi(text).c_str());
    return kExitOk;
}

// Swaps the mouse buttons (1) or not (0) and stores the setting, so that processes which have
// not read it yet see it too (Wine keeps it per process once read). Exit code: the swap state
// GetSystemMetrics reports here afterwards (0 or 1).
int ctl_swapbuttons(const std::wstring& value) {
    long swap = 0;
    if (!parse_long(value, swap) || swap < 0 || swap > 1) return kExitUsage;
    SystemParametersInfoW(SPI_SETMOUSEBUTTONSWAP, static_cast<UINT>(swap), nullptr, SPIF_UPDATEINIFILE);
    return GetSystemMetrics(SM_SWAPBUTTON) ? 1 : 0;
}

// Exit code = x * 65536 + y of the cursor's screen position; -1 when it cannot be read.
int ctl_cursor() {
    POINT p{};
    if (!GetCursorPos(&p)) return -1;
    return static_cast<int>(p.x * 65536 + p.y);
}

// Exit code = width * 65536 + height of the primary screen, as SM_CXSCREEN / SM_CYSCREEN say.
int ctl_metrics() { return GetSystemMetrics(SM_CXSCREEN) * 65536 + GetSystemMetrics(SM_CYSCREEN); }

int ctl_setcursor(const std::wstring& x, const std::wstring& y) {
    long px = 0, py = 0;
    if (!parse_long(x, px) || !parse_long(y, py)) return kExitUsage;
    return SetCursorPos(static_cast<int>(px), static_cast<int>(py)) ? kExitOk : kExitFailed;
}

// Presses (down) or lets go of the keys given by virtual-key code through SendInput, as a user
// holding a hotkey's modifiers does; the right-hand Ctrl and Alt and the Windows keys carry the
// extended-key flag. The keys stay as left when this process ends.
int ctl_keys(const std::vector<std::wstring>& args, bool down) {
    std::vector<INPUT> inputs;
    for (size_t i = 1; i < args.size(); ++i) {
        long vk = 0;
        if (!parse_long(args[i], vk) || vk <= 0 || vk > 254) return kExitUsage;
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = static_cast<WORD>(vk);
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
        const bool extended = vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
        in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(in);
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size() ? kExitOk : kExitFailed;
}

// Exit code 1 when the system reports the key down (GetAsyncKeyState), else 0.
int ctl_keystate(const std::wstring& key) {
    long vk = 0;
    if (!parse_long(key, vk) || vk <= 0 || vk > 254) return kExitUsage;
    return (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0 ? 1 : 0;
}

void usage() {
    complain(
        "usage: standin.exe host <config> | ctl start <config> | ctl stop | ctl sleep <ms> |"
        " ctl send <cmd> | ctl post <cmd> | ctl hang <ms> | ctl ask <TEXT> <outfile> | ctl debug <text> |"
        " ctl getprop [name] | ctl countwindows <class> | ctl sharesinput <class> | ctl closebox <title> <ms> | ctl visible "
        "| ctl resident <readyfile> |"
        " ctl swapbuttons 0|1 | ctl cursor | ctl setcursor <x> <y> | ctl metrics | ctl emptyclip <ms> <logfile> |"
        " ctl keyhold <vk>... | ctl keyrelease <vk>... | ctl keystate <vk> |"
        " ctl clipwatch <config>");
}

BOOL CALLBACK collect_standin_window(HWND hwnd, LPARAM param) {
    wchar_t name[64] = {};
    if (GetClassNameW(hwnd, name, 64) && wcscmp(name, kHostClass) == 0 && GetPropW(hwnd, kMarkProperty))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK collect_marked_window(HWND hwnd, LPARAM param) {
    if (GetPropW(hwnd, kMarkProperty)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> find_standin_windows() {
    std::vector<HWND> found;
    EnumWindows(collect_standin_window, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> find_marked_windows() {
    std::vector<HWND> found;
    EnumWindows(collect_marked_window, reinterpret_cast<LPARAM>(&found));
    return found;
}

int run_ctl(const std::vector<std::wstring>& args) {
    const std::wstring verb = args.empty() ? L"" : args[0];
    if (verb == L"start" && args.size() == 2) return ctl_start(args[1]);
    if (verb == L"stop" && args.size() == 1) return ctl_stop();
    if (verb == L"send" && args.size() == 2) return ctl_command(args[1], true);
    if (verb == L"post" && args.size() == 2) return ctl_command(args[1], false);
    if (verb == L"hang" && args.size() == 2) return ctl_hang(args[1]);
    if (verb == L"ask" && args.size() == 3) return ctl_ask(args[1], args[2]);
    if (verb == L"debug" && args.size() == 2) return ctl_debug(args[1]);
    if (verb == L"visible" && args.size() == 1) return ctl_visible();
    if (verb == L"resident" && args.size() == 2) return ctl_resident(args[1]);
    if (verb == L"getprop" && args.size() <= 2) return ctl_getprop(args.size() == 2 ? args[1] : kHelperMark);
    if (verb == L"countwindows" && args.size() == 2) return ctl_countwindows(args[1]);
    if (verb == L"foreignhosts" && args.size() == 1) return ctl_foreignhosts();
    if (verb == L"facts" && args.size() == 2) return ctl_facts(args[1]);
    if (verb == L"run") return ctl_run(args);
    if (verb == L"sharesinput" && args.size() == 2) return ctl_sharesinput(args[1]);
    if (verb == L"closebox" && args.size() == 3) return ctl_closebox(args[1], args[2]);
    if (verb == L"swapbuttons" && args.size() == 2) return ctl_swapbuttons(args[1]);
    if (verb == L"cursor" && args.size() == 1) return ctl_cursor();
    if (verb == L"metrics" && args.size() == 1) return ctl_metrics();
    if (verb == L"setcursor" && args.size() == 3) return ctl_setcursor(args[1], args[2]);
    if (verb == L"emptyclip" && args.size() == 3) return ctl_emptyclip(args[1], args[2]);
    if (verb == L"keyhold" && args.size() >= 2) return ctl_keys(args, true);
    if (verb == L"keyrelease" && args.size() >= 2) return ctl_keys(args, false);
    if (verb == L"keystate" && args.size() == 2) return ctl_keystate(args[1]);
    if (verb == L"clipwatch" && args.size() == 2) return run_clip_watcher(args[1]);
    long ms = 0;
    if (verb == L"sleep" && args.size() == 2 && parse_long(args[1], ms) && ms >= 0) {
        Sleep(static_cast<DWORD>(ms));
        return kExitOk;
    }
    usage();
    return kExitUsage;
}

}  // namespace ombrisk::standin
