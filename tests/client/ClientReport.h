// What the compiled test clients share: the report file they write ("ok N - ...", "not ok N -
// ...", other lines, then "DONE passed=P failed=F"), which tests/harness/clienttest.py judges,
// the creation of the object through its ProgID, and the stand-in host: its log and its ctl verbs.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

namespace client_report {

inline FILE* g_out = nullptr;
inline int g_passed = 0;
inline int g_failed = 0;

inline void Check(bool good, const std::string& msg) {
    if (good) ++g_passed;
    else ++g_failed;
    fprintf(g_out, "%s %d - %s\n", good ? "ok" : "not ok", g_passed + g_failed, msg.c_str());
    fflush(g_out);
}

inline void Info(const std::string& msg) {
    fprintf(g_out, "INFO %s\n", msg.c_str());
    fflush(g_out);
}

// Opens the report named on the command line (standard output without one); false on failure.
inline bool OpenReport(int argc, wchar_t** argv) {
    g_out = argc > 1 ? _wfopen(argv[1], L"w") : stdout;
    return g_out != nullptr;
}

// Writes the closing line and returns the process exit code.
inline int FinishReport() {
    fprintf(g_out, "DONE passed=%d failed=%d\n", g_passed, g_failed);
    if (g_out != stdout) fclose(g_out);
    return g_failed == 0 ? 0 : 1;
}

inline IDispatch* CreateHelper() {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Ombrisk.Helper", &clsid))) return nullptr;
    IDispatch* d = nullptr;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&d));
    return d;
}

inline DISPID IdOf(IDispatch* d, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

// The lines of the stand-in host's log (UTF-8, CR LF) that begin with prefix, in their order.
inline std::vector<std::string> HostLogLines(const std::wstring& log, const std::string& prefix) {
    std::string text;
    if (FILE* in = _wfopen(log.c_str(), L"rb")) {
        char chunk[4096];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, in)) > 0;) text.append(chunk, got);
        fclose(in);
    }
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
    }
    return lines;
}

// Waits until at least count lines of the log begin with prefix; false after timeoutMs.
inline bool WaitHostLog(const std::wstring& log, const std::string& prefix, size_t count, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (HostLogLines(log, prefix).size() < count) {
        if (GetTickCount64() > end) return false;
        Sleep(50);
    }
    return true;
}

// Runs standin.exe (beside this program) with args, e.g. L"ctl stop", and waits for it; its exit
// code, or -1 when it did not start.
inline int RunStandIn(const std::wstring& args) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe(self);
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"standin.exe";
    std::wstring command = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

}  // namespace client_report
