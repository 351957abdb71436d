// What the conformance kit's runner (a JScript file) cannot do itself: `ctl facts <file>` (why a
// run on one machine differs from a run on another), `ctl foreignhosts` (keeps the kit away from
// a real file manager) and `ctl run` (a program with a time limit and its output in files).
#include <windows.h>

#include <string>
#include <vector>

#include "standin.h"
#include "standin_handle.h"
#include "standin_host.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
using WineGetVersionFn = const char*(CDECL*)();
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

FARPROC ntdll_function(const char* name) { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name); }

// GetVersionEx answers what the program's manifest allows; RtlGetVersion tells the truth.
std::string windows_version() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    const auto get = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(ntdll_function("RtlGetVersion")));
    if (!get || get(&info) != 0) return "unknown";
    return format("%lu.%lu.%lu", info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
}

std::string wine_version() {
    const auto get = reinterpret_cast<WineGetVersionFn>(reinterpret_cast<void*>(ntdll_function("wine_get_version")));
    return get ? get() : "";
}

std::string locale_name(LCID lcid) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    return LCIDToLocaleName(lcid, name, LOCALE_NAME_MAX_LENGTH, 0) > 0 ? to_utf8(name) : format("0x%04lx", lcid);
}

std::string elevated() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return "unknown";
    unique_handle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return "unknown";
    return elevation.TokenIsElevated ? "yes" : "no";
}

std::string os_bits() {
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return sizeof(void*) == 8 || wow64 ? "64" : "32";
}

BOOL CALLBACK describe_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    auto* lines = reinterpret_cast<std::vector<std::string>*>(param);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    static const auto get_dpi = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT dpi_x = 0, dpi_y = 0;
    const bool has_dpi = get_dpi && SUCCEEDED(get_dpi(monitor, 0, &dpi_x, &dpi_y));
    const RECT& r = info.rcMonitor;
    lines->push_back(format("monitor=%ld,%ld %ldx%ld dpi=%s%s", r.left, r.top, r.right - r.left, r.bottom - r.top,
                            has_dpi ? std::to_string(dpi_x).c_str() : "unknown",
                            (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : ""));
    return TRUE;
}

int system_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

BOOL CALLBACK count_foreign_host(HWND hwnd, LPARAM param) {
    wchar_t name[32] = {};
    if (GetClassNameW(hwnd, name, 32) && std::wstring(name) == L"TTOTAL_CMD" && !GetPropW(hwnd, kMarkProperty))
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

// One argument as CommandLineToArgvW and the C runtime read it back: quoted when it has a blank,
// a tab or a quote (or is empty); backslashes doubled only before a quote.
std::wstring argument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE inheritable_output(const std::wstring& path) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

// `ctl run <ms> <stdout file> <stderr file> <program> [args...]`: runs the program in a job with
// its output in the files; after ms milliseconds it and everything it started are ended. Exit
// code: the program's, or kRunTimedOut.
int ctl_run(const std::vector<std::wstring>& args) {
    long limit = 0;
    if (args.size() < 5 || !parse_long(args[1], limit) || limit <= 0) return 2;
    unique_handle out(inheritable_output(args[2])), err(inheritable_output(args[3]));
    if (!out || !err) return 2;
    std::wstring command_line;
    for (std::size_t i = 4; i < args.size(); ++i) command_line += (i > 4 ? L" " : L"") + argument(args[i]);
    // What the program starts (stand-in hosts, other script hosts) ends with the job's handle.
    unique_handle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits))) return 2;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = out.get();
    si.hStdError = err.get();
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
        return 2;
    unique_handle process(pi.hProcess), thread(pi.hThread);
    AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());
    if (WaitForSingleObject(process.get(), static_cast<DWORD>(limit)) == WAIT_TIMEOUT) {
        TerminateJobObject(job.get(), kRunTimedOut);
        WaitForSingleObject(process.get(), 5000);
        return kRunTimedOut;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

// One "key=value" line per fact, UTF-16 with a byte order mark (what scripts read most simply).
int ctl_facts(const std::wstring& file) {
    wchar_t keyboard[KL_NAMELENGTH] = {};
    GetKeyboardLayoutNameW(keyboard);
    std::vector<std::string> lines = {
        "windows=" + windows_version(),
        "wine=" + wine_version(),
        "os_bits=" + os_bits(),
        "ui_language=" + locale_name(GetUserDefaultUILanguage()),
        "user_locale=" + locale_name(GetUserDefaultLCID()),
        "keyboard=" + to_utf8(keyboard),
        "elevated=" + elevated(),
        format("system_dpi=%d", system_dpi()),
        format("monitors=%d", GetSystemMetrics(SM_CMONITORS)),
    };
    EnumDisplayMonitors(nullptr, nullptr, describe_monitor, reinterpret_cast<LPARAM>(&lines));
    std::string utf8;
    for (const std::string& line : lines) utf8 += line + "\r\n";
    const std::wstring text = L"\xFEFF" + decode_text_file(utf8);
    unique_handle out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    return out && WriteFile(out.get(), text.data(), bytes, &written, nullptr) && written == bytes ? 0 : 1;
}

// Top-level windows of the host's class that are not a stand-in's: a real file manager.
int ctl_foreignhosts() {
    int count = 0;
    EnumWindows(count_foreign_host, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace ombrisk::standin
