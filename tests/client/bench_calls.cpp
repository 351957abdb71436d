// What the library's calls cost a script, against what a script author would otherwise use, in
// one process: the VBScript engine runs here and each script text is timed from outside with
// QueryPerformanceCounter. Library and baseline alternate round by round; a figure is the
// median over the rounds.
//   bench_calls <outFile> <hostConfig> <workDir> [quick] [only=<group>,...]
// The stand-in host must run with the configuration file hostConfig (it must answer SP and
// carry dialog_text); the scale part appends selected.L to that file. workDir receives the
// generated INI and command-definition files. "quick" runs a few iterations of everything.
// Writes "ok N - ..." / "not ok N - ..." checks, "INFO ..." lines, one line per figure
//   BENCH<TAB>id<TAB>value<TAB>goal<TAB>unit<TAB>library<TAB>baseline<TAB>what
// and a final "DONE passed=P failed=F" line to outFile.
#include "tests/client/ClientReport.h"
#include "tests/client/ScriptEngine.h"
#include "generated/Ombrisk_h.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace client_report;
using script_engine::Engine;

struct Sizes {
    long loopCalls;  // calls per loop of the call-overhead figures
    int rounds;      // rounds of every ratio
    int samples;     // timed calls per member of the overhead figures
    long scale;      // names, sections and lines of the scale figures
    int objects;     // objects held for the memory figure
};

constexpr Sizes kFull{100000, 7, 21, 100000, 100};
constexpr Sizes kQuick{2000, 3, 3, 2000, 5};

std::string Fmt(const char* format, double v) {
    char b[64];
    snprintf(b, sizeof b, format, v);
    return b;
}

double Median(std::vector<double> v) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The figures written so far, and how many of them were no number.
int g_figures = 0;
int g_notNumbers = 0;

// One figure. goal is "-" when the figure has none.
void Bench(const std::string& id, double value, const std::string& goal, const std::string& unit, const std::string& library,
           const std::string& baseline, const std::string& what) {
    ++g_figures;
    if (!std::isfinite(value)) ++g_notNumbers;
    fprintf(g_out, "BENCH\t%s\t%.3f\t%s\t%s\t%s\t%s\t%s\n", id.c_str(), value, goal.c_str(), unit.c_str(), library.c_str(),
            baseline.c_str(), what.c_str());
    fflush(g_out);
}

// A VBScript string literal.
std::wstring Literal(const std::wstring& s) {
    std::wstring r = L"\"";
    for (wchar_t c : s) {
        r += c;
        if (c == L'"') r += c;
    }
    return r + L"\"";
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(f);
    return ok;
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(f);
    return bytes;
}

// Appends lines to the host's configuration (UTF-16 with BOM, or UTF-8), written as UTF-16 and
// moved into place, so the host never reads half a file; later keys win over earlier ones.
bool AppendHostConfig(const std::wstring& path, const std::wstring& lines) {
    const std::string bytes = ReadBytes(path);
    std::wstring text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    } else if (!bytes.empty()) {
        const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        text.resize(static_cast<size_t>(n));
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    }
    if (text.empty()) return false;
    if (text.back() != L'\n') text += L"\r\n";
    text += lines + L"\r\n";
    std::string out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    const std::wstring tmp = path + L".new";
    return WriteBytes(tmp, out) && MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// Committed private memory of this process (heaps, stacks, private allocations), from a walk
// of the address space: the part of the process that is its own.
double PrivateCommittedBytes() {
    double total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* p = nullptr; VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi;) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += static_cast<double>(mbi.RegionSize);
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= p) break;
        p = next;
    }
    return total;
}

class EnvironmentValue {
public:
    explicit EnvironmentValue(const wchar_t* name) : name_(name) {
        wchar_t buffer[32768];
        const DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
        had_ = n > 0 && n < 32768;
        if (had_) old_.assign(buffer, n);
    }
    ~EnvironmentValue() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    void Set(const std::wstring& v) { SetEnvironmentVariableW(name_, v.c_str()); }

private:
    const wchar_t* name_;
    bool had_ = false;
    std::wstring old_;
};

// The platform steps of a separator move done by plain C++: topmost on, the drag with the
// primary button from the bar to x, topmost off, the cursor back, the sweep for percentage
// tooltips. What any implementation of Separator let pays.
BOOL CALLBACK SweepTooltips(HWND w, LPARAM) {
    const int n = GetWindowTextLengthA(w);
    if (n < 5 || n > 7) return TRUE;
    char text[8] = {};
    GetWindowTextA(w, text, n + 1);
    char cls[256] = {};
    if (text[n - 2] == ' ' && text[n - 1] == '%' && GetClassNameA(w, cls, 255) && strstr(cls, "TToolTip"))
        PostMessageA(w, WM_CLOSE, 0, 0);
    return TRUE;
}

bool PlainSeparatorMove(HWND host, double percent) {
    RECT client{}, bar{};
    if (!GetClientRect(host, &client)) return false;
    SetWindowPos(host, HWND_TOPMOST, 0, 0, 0, 0, 0x53);
    HWND panel = FindWindowExA(host, nullptr, "TPanel", nullptr);
    HWND second = panel ? FindWindowExA(host, panel, "TPanel", nullptr) : nullptr;
    RECT r2{};
    if (second && GetWindowRect(second, &r2) && r2.right - r2.left <= 4) panel = second;
    const bool found = panel && GetWindowRect(panel, &bar);
    POINT saved{};
    if (found) {
        const double sx = 65535.0 / GetSystemMetrics(SM_CXSCREEN), sy = 65535.0 / GetSystemMetrics(SM_CYSCREEN);
        const LONG y = bar.top + bar.bottom / 15;
        GetCursorPos(&saved);
        mouse_event(0x8001, static_cast<DWORD>((bar.left + 2) * sx), static_cast<DWORD>(y * sy), 0, GetMessageExtraInfo());
        const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
        mouse_event(swapped ? 0x0008 : 0x0002, 0, 0, 0, GetMessageExtraInfo());
        POINT end{static_cast<LONG>(percent / 100 * client.right - 1), 0};
        ClientToScreen(host, &end);
        mouse_event(swapped ? 0x8009 : 0x8003, static_cast<DWORD>(end.x * sx), static_cast<DWORD>(y * sy), 0,
                    GetMessageExtraInfo());
        mouse_event(swapped ? 0x0010 : 0x0004, 0, 0, 0, GetMessageExtraInfo());
    }
    SetWindowPos(host, HWND_NOTOPMOST, 0, 0, 0, 0, 0x53);
    if (found) SetCursorPos(saved.x, saved.y);
    EnumChildWindows(GetDesktopWindow(), SweepTooltips, 0);
    return found;
}

BOOL CALLBACK FindStandardDialog(HWND w, LPARAM found) {
    char cls[256] = {};
    GetClassNameA(w, cls, 255);
    if (!strstr(cls, "#32770")) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

// The settings-file query done by plain C++: the sound switched off and back, command 690
// posted, the dialog found among the host thread's windows (10 ms polls), taken once shown,
// hidden, its second Static read, closed. False when no text came.
bool PlainIniFiles(HWND host) {
    const char* key = "AppEvents\\Schemes\\Apps\\.Default\\SystemAsterisk\\.Current";
    char sound[1024] = {};
    LONG size = sizeof sound;
    RegQueryValueA(HKEY_CURRENT_USER, key, sound, &size);
    auto writeSound = [&](const char* value) {
        HKEY k = nullptr;
        if (RegCreateKeyA(HKEY_CURRENT_USER, key, &k) == ERROR_SUCCESS) {
            RegSetValueExA(k, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
            RegCloseKey(k);
        }
    };
    if (sound[0]) writeSound(" ");
    const DWORD thread = GetWindowThreadProcessId(host, nullptr);
    PostMessageA(host, WM_USER + 51, 690, 0);
    const ULONGLONG start = GetTickCount64();
    HWND dialog = nullptr;
    while (!dialog && GetTickCount64() - start <= 1500) {
        EnumThreadWindows(thread, FindStandardDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) Sleep(10);
    }
    char text[1024] = {};
    if (dialog) {
        while (!IsWindowVisible(dialog) && IsWindow(dialog) && GetTickCount64() - start <= 1500) Sleep(1);
        ShowWindow(dialog, SW_HIDE);
        HWND first = FindWindowExA(dialog, nullptr, "Static", nullptr);
        HWND second = first ? FindWindowExA(dialog, first, "Static", nullptr) : nullptr;
        if (second) GetWindowTextA(second, text, sizeof text);
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    }
    if (sound[0]) writeSound(sound);
    return strstr(text, "INI-Files:") != nullptr;
}

// The clipboard's Unicode text, opened with opener; nothing when it cannot be opened or holds none.
bool ReadClipboardText(HWND opener, std::wstring& text) {
    if (!OpenClipboard(opener)) return false;
    HANDLE block = IsClipboardFormatAvailable(CF_UNICODETEXT) ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    const auto* p = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
    if (p) {
        text.assign(p);
        GlobalUnlock(block);
    }
    CloseClipboard();
    return p != nullptr;
}

// GetSrcSelectedFiles' steps in plain C++: the clipboard's text saved, command 2017 posted, the
// clipboard looked at every millisecond until the host's copy can be read, the text put back.
bool PlainSelectedFiles(HWND host, HWND reader) {
    std::wstring saved, names;
    ReadClipboardText(nullptr, saved);
    const DWORD sequence = GetClipboardSequenceNumber();
    PostMessageA(host, WM_USER + 51, 2017, 0);
    const ULONGLONG start = GetTickCount64();
    bool read = false;
    while (!read && GetTickCount64() - start <= 2000) {
        read = GetClipboardSequenceNumber() != sequence && ReadClipboardText(reader, names);
        if (!read) Sleep(1);
    }
    if (!OpenClipboard(reader)) return false;
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (saved.size() + 1) * sizeof(wchar_t))) {
        memcpy(GlobalLock(block), saved.c_str(), (saved.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
    return read && !names.empty();
}

class Bencher {
public:
    Bencher(Engine& engine, const Sizes& sizes, std::wstring hostConfig, std::wstring workDir)
        : e_(engine), n_(sizes), hostConfig_(std::move(hostConfig)), work_(std::move(workDir)) {}

    void TimerResolution();
    void RunCost();
    void CallOverhead();
    void MemberOverhead();
    void PlatformSteps();
    void SelectedScale();
    void IniScale();
    void CreationScale();
    void Memory();

private:
    // Per call, in seconds, of n calls of statement in a For loop.
    double LoopPerCall(const std::wstring& statement, long n, bool& ok) {
        const double s = e_.Time(L"For i = 1 To " + std::to_wstring(n) + L"\r\n" + statement + L"\r\nNext\r\n");
        if (s < 0) ok = false;
        return s / static_cast<double>(n);
    }
    void LoopRatio(const std::string& id, const std::wstring& library, const std::wstring& baseline, double goal,
                   const std::string& what);
    double ArrayCount(const wchar_t* var);

    Engine& e_;
    Sizes n_;
    std::wstring hostConfig_;
    std::wstring work_;
    double runCost_ = 0;  // seconds for Run of a trivial statement, taken off single-call times
};

void Bencher::TimerResolution() {
    // Two ticks of VBScript's Timer apart: its step, which bounds what a script can time itself.
    const bool ran = e_.Run(
        L"t0 = Timer\r\nDo\r\nt1 = Timer\r\nLoop While t1 = t0\r\nt0 = t1\r\nDo\r\nt1 = Timer\r\n"
        L"Loop While t1 = t0\r\nstep = t1 - t0\r\n");
    const double step = e_.Number(L"step");
    Check(ran && step > 0 && step < 1, "VBScript's Timer advances in steps below a second (" + Fmt("%.4f", step) + " s)");
    Info("VBScript Timer step " + Fmt("%.3f", step * 1000) + " ms");
}

void Bencher::RunCost() {
    std::vector<double> t;
    for (int i = 0; i < 41; ++i) t.push_back(e_.Time(L"r = Empty"));
    runCost_ = Median(t);
    Check(runCost_ > 0 && runCost_ < 0.05,
          "a trivial script text runs in under 50 ms (" + Fmt("%.1f", runCost_ * 1e6) + " us)");
    Info("cost of running one script text (taken off single-call times) " + Fmt("%.1f", runCost_ * 1e6) + " us");
}

void Bencher::LoopRatio(const std::string& id, const std::wstring& library, const std::wstring& baseline, double goal,
                        const std::string& what) {
    bool ok = true;
    LoopPerCall(library, 100, ok);
    LoopPerCall(baseline, 100, ok);
    std::vector<double> ratios, lib, base;
    for (int r = 0; r < n_.rounds; ++r) {
        lib.push_back(LoopPerCall(library, n_.loopCalls, ok));
        base.push_back(LoopPerCall(baseline, n_.loopCalls, ok));
        ratios.push_back(lib.back() / base.back());
    }
    Check(ok, id + ": both loops ran" + (e_.site.error.empty() ? "" : " (" + e_.site.error + ")"));
    const double ratio = Median(ratios);
    Check(ratio > 0 && std::isfinite(ratio), id + ": the ratio is a positive number");
    Bench(id, ratio, Fmt("%.1f", goal), "ratio", Fmt("%.3f us", Median(lib) * 1e6), Fmt("%.3f us", Median(base) * 1e6),
          what + " (" + std::to_string(n_.loopCalls) + " calls per loop)");
}

void Bencher::CallOverhead() {
    e_.Run(L"Set d = CreateObject(\"Scripting.Dictionary\")\r\nd.Add \"k\", 1\r\n");
    LoopRatio("call.property_get", L"x = h.NoArrayReturn", L"x = d.Count", 1.1,
              "h.NoArrayReturn against Scripting.Dictionary's Count");
    LoopRatio("call.method_2_args", L"x = h.FormatAny(1.5, \"0.0\")", L"x = FormatNumber(1.5, 1)", 1.2,
              "h.FormatAny(1.5, \"0.0\") against VBScript's FormatNumber(1.5, 1)");
    e_.Run(L"x = h.FormatAny(1.5, \"0.0\")\r\ns = FormatNumber(1.5, 1)\r\nstep = 0\r\nIf x = s Then step = 1\r\n");
    Check(e_.Number(L"step") == 1, "FormatAny and FormatNumber give the same text");
}

void Bencher::MemberOverhead() {
    struct Member {
        const char* id;
        const wchar_t* statement[2];  // alternated, so a repeated call still does work
        int waitMs;                   // the member's fixed waits with Pause 70
        bool keys;                    // synthesises keys: reported apart from the goal
        const char* waits;
    };
    const Member members[] = {
        {"SendCommand posted", {L"r = h.SendCommand(540, False)", nullptr}, 70, false, "Pause"},
        {"SendCommand sent", {L"r = h.SendCommand(540, True)", nullptr}, 70, false, "Pause"},
        {"UserCmd", {L"r = h.UserCmd(\"em_bench\")", nullptr}, 35, false, "Pause \\ 2"},
        {"GetInfo", {L"r = h.GetInfo(\"SP\")", nullptr}, 0, false, "none"},
        {"SetSrcPath", {L"r = h.SetSrcPath(\"C:\\bench\\\")", nullptr}, 0, false, "none"},
        {"SetTrgPath", {L"r = h.SetTrgPath(\"D:\\bench\\\")", nullptr}, 0, false, "none"},
        {"SetLeftPath", {L"r = h.SetLeftPath(\"C:\\bench\\\")", nullptr}, 0, false, "none"},
        {"SetRightPath", {L"r = h.SetRightPath(\"D:\\bench\\\")", nullptr}, 0, false, "none"},
        // The names are read as soon as the host has copied them: only the wait before returning is fixed.
        {"GetSrcSelectedFiles", {L"r = h.GetSrcSelectedFiles()", nullptr}, 35, false, "Pause \\ 2"},
        {"ClearClip", {L"r = h.ClearClip()", nullptr}, 23, false, "Pause \\ 3"},
        // The command is posted, so the first look finds no dialog: one 10 ms poll at least.
        {"GetIniFiles", {L"r = h.GetIniFiles()", nullptr}, 10, false, "one 10 ms poll"},
        {"Separator let", {L"h.Separator = 40", L"h.Separator = 60"}, 0, false, "none"},
        {"SendKeystroke", {L"r = h.SendKeystroke(\"x\")", nullptr}, 70, true, "2 x Pause \\ 2"},
        {"GetTrgSelectedFiles",
         {L"r = h.GetTrgSelectedFiles()", nullptr},
         23 + 35 + 2 * 70,
         true,
         "Pause \\ 3 after the first Tab + Pause \\ 2 + two SendKeystroke {TAB} with 2 x Pause \\ 2 each"},
    };
    e_.Run(L"h.Pause = 70\r\nh.Wait = False\r\n");
    for (const Member& m : members) {
        const std::wstring first = m.statement[0];
        const std::wstring second = m.statement[1] ? m.statement[1] : m.statement[0];
        bool ok = e_.Run(first);  // untimed: first-use costs of the member
        std::vector<double> t;
        for (int i = 0; i < n_.samples; ++i) {
            const double s = e_.Time(i % 2 ? second : first);
            if (s < 0) ok = false;
            t.push_back(s - runCost_);
        }
        const double totalMs = Median(t) * 1000;
        const double over = totalMs - m.waitMs;
        const std::string id = std::string(m.keys ? "keys." : "overhead.") + m.id;
        Check(ok, id + ": every call ran" + (e_.site.error.empty() ? "" : " (" + e_.site.error + ")"));
        Check(over > -3 && over < 2000,
              id + ": the time beyond the fixed waits is plausible (" + Fmt("%.2f", over) + " ms)");
        Bench(id, over, m.keys ? "-" : "2", "ms", Fmt("%.2f ms", totalMs), "waits " + std::to_string(m.waitMs) + " ms",
              std::string(m.id) + ": median time minus its fixed waits (" + m.waits + ", Pause 70)");
    }
    e_.Run(L"r = Empty\r\n");
}

// Separator let and GetIniFiles against the same platform steps done by plain C++, alternating:
// how much of their time is the platform's and the host's.
void Bencher::PlatformSteps() {
    HWND host = FindWindowA("TTOTAL_CMD", nullptr);
    std::vector<double> sepRatios, sepLib, sepPlain, iniRatios, iniLib, iniPlain;
    bool ok = host != nullptr;
    for (int i = 0; i < n_.samples && ok; ++i) {
        const double percent = i % 2 ? 60 : 40;
        sepLib.push_back(e_.Time(L"h.Separator = " + std::to_wstring(static_cast<int>(percent))) - runCost_);
        const LONGLONG t0 = script_engine::Ticks();
        ok = ok && PlainSeparatorMove(host, percent);
        sepPlain.push_back(script_engine::Seconds(script_engine::Ticks() - t0));
        sepRatios.push_back(sepLib.back() / sepPlain.back());

        iniLib.push_back(e_.Time(L"r = h.GetIniFiles()") - runCost_);
        const LONGLONG t1 = script_engine::Ticks();
        ok = ok && PlainIniFiles(host);
        iniPlain.push_back(script_engine::Seconds(script_engine::Ticks() - t1));
        iniRatios.push_back(iniLib.back() / iniPlain.back());
    }
    // GetSrcSelectedFiles less its wait before returning (Pause \ 2), against its steps in plain C++.
    HWND reader = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<double> selRatios, selLib, selPlain;
    e_.Run(L"h.Pause = 70\r\nh.Wait = False\r\nh.SetTextToClip \"bench\"\r\n");
    for (int i = 0; i < n_.samples && ok; ++i) {
        selLib.push_back(e_.Time(L"r = h.GetSrcSelectedFiles()") - runCost_ - 0.035);
        const LONGLONG t0 = script_engine::Ticks();
        ok = ok && PlainSelectedFiles(host, reader);
        selPlain.push_back(script_engine::Seconds(script_engine::Ticks() - t0));
        selRatios.push_back(selLib.back() / selPlain.back());
    }
    DestroyWindow(reader);
    Check(ok, "the plain separator move, settings-file query and selected-files copy worked");
    Bench("platform.GetSrcSelectedFiles", Median(selRatios), "-", "ratio", Fmt("%.2f ms", Median(selLib) * 1000),
          Fmt("%.2f ms", Median(selPlain) * 1000),
          "GetSrcSelectedFiles less its 35 ms before returning, against its steps done by plain C++ (host copies at once)");
    Bench("platform.Separator_let", Median(sepRatios), "-", "ratio", Fmt("%.2f ms", Median(sepLib) * 1000),
          Fmt("%.2f ms", Median(sepPlain) * 1000), "Separator let against its platform steps done by plain C++");
    Bench("platform.GetIniFiles", Median(iniRatios), "-", "ratio", Fmt("%.2f ms", Median(iniLib) * 1000),
          Fmt("%.2f ms", Median(iniPlain) * 1000),
          "GetIniFiles against the same query done by plain C++ (polls included in both)");
}

double Bencher::ArrayCount(const wchar_t* var) {
    e_.Run(std::wstring(L"x = -1\r\nIf IsArray(") + var + L") Then x = UBound(" + var + L") + 1\r\n");
    return e_.Number(L"x");
}

void Bencher::SelectedScale() {
    const bool configured = AppendHostConfig(hostConfig_, L"selected.L=@gen:" + std::to_wstring(n_.scale));
    Check(configured, "the host's configuration now selects " + std::to_string(n_.scale) + " names");
    // Long waits, so the host has copied the names well within them: what is left is the
    // library's own work (clipboard reads and the list), not the host's.
    constexpr int kPause = 600;
    // The names are read as soon as they are there: Pause \ 2 before returning is the fixed wait,
    // and the host's copy of them now counts in.
    const double waits = (kPause / 2) / 1000.0;
    e_.Run(L"h.Pause = " + std::to_wstring(kPause) + L"\r\n");
    std::vector<double> ratios, lib, base;
    bool counts = true;
    for (int r = 0; r < n_.rounds; ++r) {
        e_.Run(L"r = h.ClearClip()\r\n");
        const double t = e_.Time(L"r = h.GetSrcSelectedFiles()");
        counts = counts && ArrayCount(L"r") == n_.scale;
        const double b = e_.Time(L"s = h.GetTextFromClip()\r\na = Split(s, vbCrLf)");
        counts = counts && ArrayCount(L"a") == n_.scale;
        e_.Run(L"r = Empty\r\na = Empty\r\ns = Empty\r\n");
        lib.push_back(t - runCost_ - waits);
        base.push_back(b - runCost_);
        ratios.push_back(lib.back() / base.back());
    }
    e_.Run(L"h.Pause = 70\r\nr = h.ClearClip()\r\n");
    Check(counts, "GetSrcSelectedFiles and Split gave " + std::to_string(n_.scale) + " names every time");
    const double ratio = Median(ratios);
    Check(ratio > 0 && std::isfinite(ratio), "scale.selected: the ratio is a positive number");
    Bench("scale.GetSrcSelectedFiles", ratio, "1.0", "ratio", Fmt("%.1f ms", Median(lib) * 1000),
          Fmt("%.1f ms", Median(base) * 1000),
          "GetSrcSelectedFiles of " + std::to_string(n_.scale) + " names minus its waits (Pause " + std::to_string(kPause) +
              ") against GetTextFromClip and Split(text, vbCrLf)");
}

void Bencher::IniScale() {
    const std::wstring path = work_ + L"bench_sections.ini";
    std::string text;
    char line[64];
    for (long i = 1; i <= n_.scale; ++i) {
        snprintf(line, sizeof line, "[Section%06ld]\r\nkey=%ld\r\n", i, i);
        text += line;
    }
    Check(WriteBytes(path, text), "wrote an INI file of " + std::to_string(n_.scale) + " sections");
    // Wine parses a settings file again at every call while its last change is recent (about
    // two seconds); both sides are to be measured on the parsed file it keeps.
    Sleep(3000);
    const DWORD capacity = static_cast<DWORD>(text.size() + 2);
    std::vector<wchar_t> buffer(capacity);
    auto direct = [&]() -> long {
        const DWORD count = GetPrivateProfileSectionNamesW(buffer.data(), capacity, path.c_str());
        long names = 0;
        for (DWORD i = 0; i < count; ++i)
            if (buffer[i] == L'\0') ++names;
        return names;
    };
    const std::wstring call = L"r = h.INIRead(" + Literal(path) + L")";
    // Both read once untimed: the platform keeps the parsed file, so neither pays the parse.
    e_.Run(call);
    direct();
    std::vector<double> ratios, lib, base;
    bool counts = true;
    for (int r = 0; r < n_.rounds; ++r) {
        const double t = e_.Time(call);
        counts = counts && ArrayCount(L"r") == n_.scale;
        e_.Run(L"r = Empty\r\n");
        const LONGLONG t0 = script_engine::Ticks();
        const long names = direct();
        const double b = script_engine::Seconds(script_engine::Ticks() - t0);
        counts = counts && names == n_.scale;
        lib.push_back(t - runCost_);
        base.push_back(b);
        ratios.push_back(lib.back() / base.back());
    }
    Check(counts, "INIRead and GetPrivateProfileSectionNamesW listed " + std::to_string(n_.scale) + " sections every time");
    const double ratio = Median(ratios);
    Check(ratio > 0 && std::isfinite(ratio), "scale.INIRead: the ratio is a positive number");
    Bench("scale.INIRead", ratio, "1.5", "ratio", Fmt("%.1f ms", Median(lib) * 1000), Fmt("%.1f ms", Median(base) * 1000),
          "INIRead(file) listing " + std::to_string(n_.scale) + " sections against one GetPrivateProfileSectionNamesW call");

    // Where the time goes: the same member called through IDispatch from C++ (no script engine),
    // against the least any array result costs: the direct call plus a SAFEARRAY of one BSTR
    // per name, built by plain C++.
    IDispatch* helper = CreateHelper();
    if (!helper) {
        Check(false, "a second object for the C++ calls was created");
        return;
    }
    const DISPID id = IdOf(helper, L"INIRead");
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = SysAllocString(path.c_str());
    DISPPARAMS params{&arg, nullptr, 1, 0};
    std::vector<double> invoke, floor, clear;
    bool same = true;
    for (int r = 0; r < n_.rounds; ++r) {
        VARIANT out;
        VariantInit(&out);
        LONGLONG t0 = script_engine::Ticks();
        const HRESULT hr =
            helper->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &out, nullptr, nullptr);
        invoke.push_back(script_engine::Seconds(script_engine::Ticks() - t0));
        same = same && SUCCEEDED(hr) && V_VT(&out) == (VT_ARRAY | VT_VARIANT) &&
               V_ARRAY(&out)->rgsabound[0].cElements == static_cast<ULONG>(n_.scale);
        t0 = script_engine::Ticks();
        VariantClear(&out);
        clear.push_back(script_engine::Seconds(script_engine::Ticks() - t0));

        t0 = script_engine::Ticks();
        const DWORD count = GetPrivateProfileSectionNamesW(buffer.data(), capacity, path.c_str());
        SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(n_.scale));
        VARIANT* slots = nullptr;
        SafeArrayAccessData(array, reinterpret_cast<void**>(&slots));
        size_t k = 0;
        for (DWORD start = 0, i = 0; i < count && k < static_cast<size_t>(n_.scale); ++i)
            if (buffer[i] == L'\0') {
                V_VT(&slots[k]) = VT_BSTR;
                V_BSTR(&slots[k++]) = SysAllocStringLen(buffer.data() + start, i - start);
                start = i + 1;
            }
        SafeArrayUnaccessData(array);
        floor.push_back(script_engine::Seconds(script_engine::Ticks() - t0));
        same = same && k == static_cast<size_t>(n_.scale);
        SafeArrayDestroy(array);
    }
    // The same member called through the interface's own slot: no dispatcher between.
    std::vector<double> direct2;
    ITypeInfo* info = nullptr;
    TYPEATTR* attr = nullptr;
    _Helper* vtable = nullptr;
    if (SUCCEEDED(helper->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && SUCCEEDED(info->GetTypeAttr(&attr))) {
        helper->QueryInterface(attr->guid, reinterpret_cast<void**>(&vtable));
        info->ReleaseTypeAttr(attr);
    }
    if (info) info->Release();
    if (vtable) {
        VARIANT none;
        VariantInit(&none);
        V_VT(&none) = VT_BSTR;
        V_BSTR(&none) = SysAllocString(L"");
        for (int r = 0; r < n_.rounds; ++r) {
            VARIANT out;
            VariantInit(&out);
            const LONGLONG t0 = script_engine::Ticks();
            const HRESULT hr = vtable->INIRead(arg, none, none, none, &out);
            direct2.push_back(script_engine::Seconds(script_engine::Ticks() - t0));
            same = same && SUCCEEDED(hr) && V_VT(&out) == (VT_ARRAY | VT_VARIANT) &&
                   V_ARRAY(&out)->rgsabound[0].cElements == static_cast<ULONG>(n_.scale);
            VariantClear(&out);
        }
        VariantClear(&none);
        vtable->Release();
    }
    VariantClear(&arg);
    helper->Release();
    Check(vtable != nullptr, "the object answers for its dual interface");
    Check(same,
          "INIRead through IDispatch, through its slot and the plain array all hold " + std::to_string(n_.scale) + " names");
    Bench("info.INIRead_dispatcher_share", (Median(invoke) - Median(direct2)) * 1000, "-", "ms",
          Fmt("%.1f ms", Median(invoke) * 1000), Fmt("%.1f ms", Median(direct2) * 1000),
          "what IDispatch::Invoke (the type information's dispatcher) adds to INIRead against a call through the interface "
          "slot");
    const double lib2 = Median(invoke), floor2 = Median(floor);
    Bench("scale.INIRead_without_script", lib2 / floor2, "-", "ratio", Fmt("%.1f ms", lib2 * 1000),
          Fmt("%.1f ms", floor2 * 1000),
          "INIRead called through IDispatch from C++ against the direct call plus a SAFEARRAY of the names built by plain "
          "C++");
    Bench("info.INIRead_script_share", (Median(lib) - lib2) * 1000, "-", "ms", Fmt("%.1f ms", Median(lib) * 1000),
          Fmt("%.1f ms", lib2 * 1000),
          "what VBScript adds to INIRead's result (its array handling); freeing the result takes " +
              Fmt("%.1f ms", Median(clear) * 1000));
}

void Bencher::CreationScale() {
    const std::wstring folder = work_ + L"inc";
    const std::wstring empty = work_ + L"noinc";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW(empty.c_str(), nullptr);
    const std::wstring path = folder + L"\\totalcmd.inc";
    std::string text = "[_Bench_]\r\n";
    char line[80];
    for (long i = 1; i < n_.scale; ++i) {
        snprintf(line, sizeof line, "cm_Bench%06ld=%ld;bench command %ld\r\n", i, i, i);
        text += line;
    }
    Check(WriteBytes(path, text), "wrote a command-definition file of " + std::to_string(n_.scale) + " lines");
    std::string narrowPath;
    for (wchar_t c : path) narrowPath.push_back(static_cast<char>(c));
    auto plainRead = [&]() -> long {
        std::ifstream in(narrowPath, std::ios::binary);
        std::string l;
        long lines = 0;
        while (std::getline(in, l)) ++lines;
        return lines;
    };
    EnvironmentValue commanderPath(L"COMMANDER_PATH");
    auto createTime = [&](const std::wstring& dir, bool& ok) {
        commanderPath.Set(dir);
        const double t = e_.Time(L"Set o = CreateObject(\"Ombrisk.Helper\")");
        ok = ok && t > 0 && e_.Run(L"x = 0\r\nIf IsObject(o) Then x = o.Pause\r\n") && e_.Number(L"x") == 70;
        e_.Run(L"Set o = Nothing\r\n");
        return t - runCost_;
    };
    bool ok = true;
    createTime(folder, ok);
    plainRead();
    std::vector<double> ratios, lib, base, bare;
    bool counts = true;
    for (int r = 0; r < n_.rounds; ++r) {
        lib.push_back(createTime(folder, ok));
        bare.push_back(createTime(empty, ok));
        const LONGLONG t0 = script_engine::Ticks();
        counts = counts && plainRead() == n_.scale;
        base.push_back(script_engine::Seconds(script_engine::Ticks() - t0));
        ratios.push_back(lib.back() / base.back());
    }
    Check(ok, "every object was created" + (e_.site.error.empty() ? "" : " (" + e_.site.error + ")"));
    Check(counts, "the plain read counted " + std::to_string(n_.scale) + " lines every time");
    const double ratio = Median(ratios);
    Check(ratio > 0 && std::isfinite(ratio), "scale.creation: the ratio is a positive number");
    Bench("scale.creation", ratio, "2.0", "ratio", Fmt("%.1f ms", Median(lib) * 1000), Fmt("%.1f ms", Median(base) * 1000),
          "CreateObject with a " + std::to_string(n_.scale) + "-line totalcmd.inc against std::getline over the same file");
    Bench("info.creation_without_file", Median(bare) * 1000, "-", "ms", Fmt("%.2f ms", Median(bare) * 1000), "-",
          "CreateObject with no command-definition file (discovery, reply window, host binding)");
}

void Bencher::Memory() {
    if (HMODULE dll = GetModuleHandleW(L"Ombrisk.dll")) {
        wchar_t name[MAX_PATH] = {};
        WIN32_FILE_ATTRIBUTE_DATA info{};
        if (GetModuleFileNameW(dll, name, MAX_PATH) && GetFileAttributesExW(name, GetFileExInfoStandard, &info)) {
            const double kib = info.nFileSizeLow / 1024.0;
            Check(kib > 16, "the DLL has a plausible size");
            Bench("memory.dll_size", kib, "-", "KiB", Fmt("%.0f bytes", info.nFileSizeLow), "-", "size of Ombrisk.dll");
        }
    }
    // A command-definition file of typical size: about 600 commands.
    const std::wstring typical = work_ + L"typical";
    CreateDirectoryW(typical.c_str(), nullptr);
    std::string text = "[_Typical_]\r\n";
    char line[80];
    for (int i = 1; i <= 600; ++i) {
        snprintf(line, sizeof line, "cm_Typical%04d=%d;a typical command %d\r\n", i, 100 + i, i);
        text += line;
    }
    WriteBytes(typical + L"\\totalcmd.inc", text);

    EnvironmentValue commanderPath(L"COMMANDER_PATH");
    const int m = n_.objects;
    const struct {
        const char* id;
        std::wstring dir;
        const char* what;
    } cases[] = {{"memory.per_object", work_ + L"noinc", "no command-definition file"},
                 {"memory.per_object_600_commands", typical, "600-command totalcmd.inc"}};
    for (const auto& c : cases) {
        commanderPath.Set(c.dir);
        bool ok =
            e_.Run(L"ReDim objs(" + std::to_wstring(m - 1) + L")\r\nSet objs(0) = CreateObject(\"Ombrisk.Helper\")\r\n");
        const double one = PrivateCommittedBytes();
        ok = ok && e_.Run(L"For i = 1 To " + std::to_wstring(m - 1) +
                          L"\r\nSet objs(i) = CreateObject(\"Ombrisk.Helper\")\r\nNext\r\n");
        const double all = PrivateCommittedBytes();
        ok = ok && e_.Run(L"For i = 0 To " + std::to_wstring(m - 1) + L"\r\nSet objs(i) = Nothing\r\nNext\r\n");
        const double after = PrivateCommittedBytes();
        const double perObject = (all - one) / (m - 1) / 1024.0;
        Check(ok, std::string(c.id) + ": " + std::to_string(m) + " objects were created and released" +
                      (e_.site.error.empty() ? "" : " (" + e_.site.error + ")"));
        Check(all > 0 && perObject > -64, std::string(c.id) + ": the figure is plausible");
        Bench(c.id, perObject, "64", "KiB", Fmt("%.0f KiB", all / 1024.0) + " with " + std::to_string(m),
              Fmt("%.0f KiB", one / 1024.0) + " with 1",
              std::string("private committed memory per object, ") + c.what + " (" + Fmt("%.0f KiB", after / 1024.0) +
                  " after release)");
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv)) return 2;
    if (argc < 4) {
        Check(false, "usage: bench_calls <outFile> <hostConfig> <workDir> [quick] [only=<group>,...]");
        return FinishReport();
    }
    // Optional arguments: "quick", and "only=<group>,<group>..." to run only some groups of
    // figures (call, overhead, platform, selected, ini, creation, memory).
    bool quick = false;
    std::wstring only;
    for (int i = 4; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"quick") quick = true;
        else if (a.rfind(L"only=", 0) == 0) only = L"," + a.substr(5) + L",";
    }
    auto wanted = [&](const wchar_t* group) {
        return only.empty() || only.find(L"," + std::wstring(group) + L",") != std::wstring::npos;
    };
    const Sizes sizes = quick ? kQuick : kFull;
    std::wstring work = argv[3];
    if (!work.empty() && work.back() != L'\\') work += L'\\';
    CoInitialize(nullptr);
    {
        Engine engine;
        const bool started = engine.Start();
        Check(started, "the VBScript engine runs in this process");
        const bool created =
            started &&
            engine.Run(L"Dim h, d, r, x, i, s, a, o, t0, t1, step, objs\r\nSet h = CreateObject(\"Ombrisk.Helper\")\r\n");
        Check(created, "the script created an Ombrisk.Helper object" +
                           (engine.site.error.empty() ? "" : " (" + engine.site.error + ")"));
        engine.Run(L"x = 0\r\nIf h.IsRunningTC Then x = 1\r\n");
        const bool host = engine.Number(L"x") == 1;
        Check(host, "the host runs");
        if (created && host) {
            Bencher b(engine, sizes, argv[2], work);
            b.TimerResolution();
            b.RunCost();
            if (wanted(L"call")) b.CallOverhead();
            if (wanted(L"overhead")) b.MemberOverhead();
            if (wanted(L"platform")) b.PlatformSteps();
            if (wanted(L"selected")) b.SelectedScale();
            if (wanted(L"ini")) b.IniScale();
            if (wanted(L"creation")) b.CreationScale();
            if (wanted(L"memory")) b.Memory();
            if (only.empty())
                Check(g_figures >= 27 && g_notNumbers == 0, "every figure was produced, each a number (" +
                                                                std::to_string(g_figures) + " figures, " +
                                                                std::to_string(g_notNumbers) + " not numbers)");
        }
        engine.Run(L"Set h = Nothing\r\nSet d = Nothing\r\n");
    }
    CoUninitialize();
    return FinishReport();
}
