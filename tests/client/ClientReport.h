// What the compiled test clients share: the report file they write ("ok N - ...", "not ok N -
// ...", other lines, then "DONE passed=P failed=F"), which tests/scripts relay through
// RunClient, and the creation of the object through its ProgID.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

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

}  // namespace client_report
