// SendKeystroke with user32 and advapi32 imports of the library redirected in this process, for
// what the bench cannot otherwise show: SetForegroundWindow refused, a restarted host whose
// thread has the id of its predecessor's (every host window's thread reports one id here, which
// the redirected AttachThreadInput maps to the running host's thread), and a host run as
// administrator (its token's integrity level reads high, this process's medium), whose input
// Windows would drop.
//   keysclient <outFile> <test folder> <the running host's log>
// The host runs already; this client starts, in front of it, a "TOther" window of the stand-in
// (standin.exe beside the client), later the host anew, and reads what each logged.
#include "tests/client/ClientReport.h"
#include "tests/client/ImportPatch.h"
#include "platform/Raii.h"

#include <windows.h>

#include <fstream>
#include <optional>
#include <string>

namespace {

using namespace client_report;

constexpr DWORD kReusedId = 0x7FFF0004;

decltype(&SetForegroundWindow) g_setForeground = nullptr;
decltype(&GetForegroundWindow) g_getForeground = nullptr;
decltype(&GetWindowThreadProcessId) g_threadOf = nullptr;
decltype(&AttachThreadInput) g_attach = nullptr;
decltype(&SendInput) g_sendInput = nullptr;
decltype(&OpenProcessToken) g_openToken = nullptr;
decltype(&GetTokenInformation) g_tokenInfo = nullptr;
HANDLE g_hostToken = nullptr;
bool g_hostElevated = false;
bool g_refusing = true;
int g_refusals = 0, g_looksAfterRefusal = 0;
HWND g_focusAtSend = nullptr;

BOOL WINAPI RefusingSetForeground(HWND hwnd) {
    if (!g_refusing) return g_setForeground(hwnd);
    ++g_refusals;
    return FALSE;
}

HWND WINAPI CountingGetForeground() {
    if (g_refusals > 0) ++g_looksAfterRefusal;
    return g_getForeground();
}

DWORD WINAPI ReusedThreadOf(HWND hwnd, LPDWORD pid) {
    wchar_t name[16] = {};
    const DWORD real = g_threadOf(hwnd, pid);
    return real && GetClassNameW(hwnd, name, 16) && wcscmp(name, L"TTOTAL_CMD") == 0 ? kReusedId : real;
}

BOOL WINAPI ReusedAttach(DWORD from, DWORD to, BOOL attach) {
    const DWORD host = g_threadOf(FindWindowW(L"TTOTAL_CMD", nullptr), nullptr);
    return g_attach(from == kReusedId ? host : from, to == kReusedId ? host : to, attach);
}

// This thread sees the host's focus window only while its input is attached to the host's thread.
UINT WINAPI WatchingSendInput(UINT count, INPUT* inputs, int size) {
    g_focusAtSend = GetFocus();
    return g_sendInput(count, inputs, size);
}

BOOL WINAPI RememberingOpenToken(HANDLE process, DWORD access, PHANDLE token) {
    const BOOL opened = g_openToken(process, access, token);
    if (opened && process != GetCurrentProcess()) g_hostToken = *token;
    return opened;
}

BOOL WINAPI ElevatedHostTokenInfo(HANDLE token, TOKEN_INFORMATION_CLASS kind, LPVOID info, DWORD size, PDWORD needed) {
    const BOOL got = g_tokenInfo(token, kind, info, size, needed);
    if (got && g_hostElevated && kind == TokenIntegrityLevel) {
        const PSID sid = static_cast<TOKEN_MANDATORY_LABEL*>(info)->Label.Sid;
        *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u) = token == g_hostToken ? 0x3000 : 0x2000;
    }
    return got;
}

// A stand-in configuration in strict mode that expects keys, its log beside it.
std::wstring WriteHostConfig(const std::wstring& folder, const std::wstring& name, const std::string& extra) {
    const std::wstring config = folder + L"\\" + name + L".cfg";
    std::string log;
    for (wchar_t c : folder + L"\\" + name + L".log") log.push_back(static_cast<char>(c));
    std::ofstream(config.c_str(), std::ios::binary) << "log=" << log << "\r\nstrict=1\r\nexpect_keys=1\r\n" << extra;
    return config;
}

// The keys a stand-in log shows pressed (virtual-key codes with their modifiers and extended
// bit as logged), leaving out the library's sentinel key (232); "<no log>" when the host never
// logged its start.
std::string KeyDowns(const std::wstring& logPath) {
    if (HostLogLines(logPath, "READY ").empty()) return "<no log>";
    std::string keys;
    for (const std::string& line : HostLogLines(logPath, "KEYDOWN vk="))
        if (line.rfind("KEYDOWN vk=232 ", 0) != 0) keys += (keys.empty() ? "" : " | ") + line.substr(8);
    return keys;
}

std::optional<bool> Keys(IDispatch* h, const wchar_t* keys) {
    ombrisk::UniqueBstr text(SysAllocString(keys));
    VARIANT arg, result;
    VariantInit(&result);
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = text.get();
    DISPPARAMS params{&arg, nullptr, 1, 0};
    if (FAILED(h->Invoke(IdOf(h, L"SendKeystroke"), IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr)))
        return std::nullopt;
    return V_VT(&result) == VT_BOOL && V_BOOL(&result) != VARIANT_FALSE;
}

// Windows refuses the foreground (also to the binding at creation): false, without waiting for
// the foreground; the script checks that nothing was typed.
void RefusedForeground(IDispatch* h) {
    Check(g_getForeground() == FindWindowW(L"TOther", nullptr), "another window is in front");
    g_refusals = 0;
    Check(Keys(h, L"abc") == false, "SendKeystroke is false when the foreground is refused");
    Check(g_refusals == 1 && g_looksAfterRefusal <= 1,
          "no wait for the refused foreground (" + std::to_string(g_looksAfterRefusal) + " looks at it)");
    g_refusing = false;
}

// The host ends and a new one with the same thread id starts: keys reach it through an
// attachment to its thread, and an object bound to it stays attached when the old object goes.
void ReusedThreadId(IDispatch* h, const std::wstring& folder) {
    const std::wstring secondConfig = WriteHostConfig(folder, L"second", "");
    Check(RunStandIn(L"ctl stop") == 0 && RunStandIn(L"ctl start \"" + secondConfig + L"\"") == 0, "the host restarted");
    const HWND host = FindWindowW(L"TTOTAL_CMD", nullptr);
    Check(Keys(h, L"xyz") == true, "keys to the restarted host are true");
    Check(host && g_focusAtSend == host, "they were sent while this thread shared the new host thread's input");
    IDispatch* bound = CreateHelper();
    h->Release();
    Check(host && GetFocus() == host, "an object bound to the new host keeps its attachment when the old one goes");
    if (bound) bound->Release();
}

// The host runs as administrator: keys for it fail at once, and GetTrgSelectedFiles, whose
// Tab would be dropped, gives Empty without sending the copy command.
void ElevatedHost() {
    IDispatch* h = CreateHelper();
    if (!h) return;
    g_hostElevated = true;
    Check(Keys(h, L"q") == false, "SendKeystroke to a host of higher rights is false");
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{};
    const HRESULT hr =
        h->Invoke(IdOf(h, L"GetTrgSelectedFiles"), IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    Check(SUCCEEDED(hr) && V_VT(&result) == VT_EMPTY, "GetTrgSelectedFiles from a host of higher rights is Empty");
    VariantClear(&result);
    g_hostElevated = false;
    h->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv)) return 2;
    const std::wstring folder = argc > 2 ? argv[2] : L".";
    Check(RunStandIn(L"ctl start \"" + WriteHostConfig(folder, L"other", "window_class=TOther\r\ncaption=Other window\r\n") +
                     L"\"") == 0,
          "another window is started in front of the host");
    CLSID clsid{};
    IClassFactory* factory = nullptr;  // loads the library, so its imports are redirected before any object binds
    if (argc < 4 || FAILED(CoInitialize(nullptr)) || FAILED(CLSIDFromProgID(L"Ombrisk.Helper", &clsid)) ||
        FAILED(
            CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        Check(false, "arguments, COM and the library");
        return FinishReport();
    }
    const HMODULE dll = GetModuleHandleW(L"Ombrisk.dll");
    const auto redirect = [dll](const char* name, auto* replacement, auto& original) {
        return client_patch::PatchImport(dll, "user32.dll", name, reinterpret_cast<void*>(replacement),
                                         reinterpret_cast<void**>(&original));
    };
    Check(redirect("SetForegroundWindow", &RefusingSetForeground, g_setForeground) &&
              redirect("GetForegroundWindow", &CountingGetForeground, g_getForeground) &&
              redirect("GetWindowThreadProcessId", &ReusedThreadOf, g_threadOf) &&
              redirect("AttachThreadInput", &ReusedAttach, g_attach) &&
              redirect("SendInput", &WatchingSendInput, g_sendInput) &&
              client_patch::PatchImport(dll, "advapi32.dll", "OpenProcessToken",
                                        reinterpret_cast<void*>(&RememberingOpenToken),
                                        reinterpret_cast<void**>(&g_openToken)) &&
              client_patch::PatchImport(dll, "advapi32.dll", "GetTokenInformation",
                                        reinterpret_cast<void*>(&ElevatedHostTokenInfo),
                                        reinterpret_cast<void**>(&g_tokenInfo)),
          "the library's imports are redirected");
    if (IDispatch* h = g_sendInput ? CreateHelper() : nullptr) {
        RefusedForeground(h);
        ReusedThreadId(h, folder);
        ElevatedHost();
    }
    Check(KeyDowns(folder + L"\\other.log").empty(), "the window in front got nothing when the foreground was refused");
    Check(KeyDowns(argv[3]).empty(), "nor did the host");
    const std::string second = KeyDowns(folder + L"\\second.log");
    Check(second ==
              "vk=88 shift=0 ctrl=0 alt=0 ext=0 caps=0 | vk=89 shift=0 ctrl=0 alt=0 ext=0 caps=0 | vk=90 shift=0 "
              "ctrl=0 alt=0 ext=0 caps=0",
          "the restarted host got its keys, xyz, and none meant for it as a host of higher rights (" + second + ")");
    Check(HostLogLines(folder + L"\\second.log", "CMD ").empty(), "nor a copy command");
    factory->Release();
    CoUninitialize();
    return FinishReport();
}
