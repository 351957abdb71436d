// Runs the library as if on Windows although it runs under Wine, so the routines that choose by
// platform take their Windows side here too. The library finds Wine by asking ntdll for
// wine_get_version; its GetProcAddress import (in this process only) is pointed at a routine that
// answers "not found" for that name and forwards every other, before the first object exists.
// Nothing in the library knows about it. The mode "wine" runs the same checks without it.
//   aswindowsclient <outFile> <windows|wine> <DLL path> <part> [args]
//     format <table>   FormatAny against Windows' results (tests/data/varformat-windows.tsv)
//     clip             SetTextToClip: who owns the clipboard
//     selected         GetSrcSelectedFiles / GetTrgSelectedFiles with the library owning the
//                      clipboard, timed against the same call without (a stand-in host runs)
//     sleep <log>      Sleep while another program empties the clipboard the library owns
//     exit <member> <host log>  SetSrcPath or UserCmd to a host that ends while it handles the
//                      request, with sends completing as Windows documents them for that case
//     posted           Sleep with a message posted to a window of this thread and a quit request
//     separator <host log>  Separator on a monitor of 144 dots per inch (GetDpiForMonitor as the
//                      library asks for it), whose drag's release is preceded by a late move
//                      of the cursor back to the press (the library's mouse_event import)
// Writes "ok N - ..." / "not ok N - ..." checks, INFO lines and "DONE passed=P failed=F".
#include "tests/client/ClientReport.h"
#include "tests/client/FormatRows.h"
#include "tests/client/ImportPatch.h"
#include "platform/Raii.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace client_report;
using ombrisk::UniqueHandle;
using ombrisk::UniqueVariant;

using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
GetProcAddressFn g_realGetProcAddress = nullptr;
int g_hidden = 0;  // how often the library asked for wine_get_version

UINT g_monitorDpi = 0;  // "separator": the scale GetDpiForMonitor reports; 0 leaves it alone

HRESULT WINAPI DpiOfTheMonitor(HMONITOR, int, UINT* x, UINT* y) {
    *x = *y = g_monitorDpi;
    return S_OK;
}

FARPROC WINAPI GetProcAddressWithoutWine(HMODULE module, LPCSTR name) {
    if (!IS_INTRESOURCE(name) && std::strcmp(name, "wine_get_version") == 0) {
        ++g_hidden;
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    if (!IS_INTRESOURCE(name) && g_monitorDpi && std::strcmp(name, "GetDpiForMonitor") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&DpiOfTheMonitor));
    return g_realGetProcAddress(module, name);
}

// Windows ends a send whose receiver's thread ends while it handles the message with success
// (result 0) unless the sender asked for SMTO_ERRORONEXIT; Wine fails it either way. In "exit",
// the library's SendMessageTimeoutA import answers as Windows does.
using SendMessageTimeoutFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR);
SendMessageTimeoutFn g_realSend = nullptr;

LRESULT WINAPI SendAsOnWindows(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                               PDWORD_PTR result) {
    const LRESULT sent = g_realSend(window, msg, wParam, lParam, flags, timeout, result);
    if (sent || IsWindow(window) || (flags & SMTO_ERRORONEXIT)) return sent;
    if (result) *result = 0;
    SetLastError(ERROR_SUCCESS);
    return 1;
}

// The pointer event that arrives late, after the drag's release was sent: before a button-up
// reaches the system, the cursor is moved back to where the drag pressed (the absolute move
// before the first button-down). A release that carries its own place still lands there.
using MouseEventFn = void(WINAPI*)(DWORD, DWORD, DWORD, DWORD, ULONG_PTR);
MouseEventFn g_realMouseEvent = nullptr;
struct {
    DWORD flags = 0, x = 0, y = 0;
} g_lastMove, g_press;
int g_lateMoves = 0;

void WINAPI MouseEventWithLateMove(DWORD flags, DWORD x, DWORD y, DWORD data, ULONG_PTR extra) {
    constexpr DWORD kDowns = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN;
    if ((flags & kDowns) && !g_press.flags) g_press = g_lastMove;
    if ((flags & MOUSEEVENTF_MOVE) && (flags & MOUSEEVENTF_ABSOLUTE)) g_lastMove = {flags & ~kDowns, x, y};
    if ((flags & (MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP)) && g_press.flags) {
        g_realMouseEvent(g_press.flags, g_press.x, g_press.y, 0, extra);
        ++g_lateMoves;
    }
    g_realMouseEvent(flags, x, y, data, extra);
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string Ms(double ms) { return std::to_string(static_cast<long>(ms)) + " ms"; }

// Calls a member with the arguments in script order; the result is Empty when the call failed.
UniqueVariant Call(IDispatch* helper, const wchar_t* name, std::vector<VARIANT> args = {}, WORD kind = DISPATCH_METHOD) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), kind == DISPATCH_PROPERTYPUT ? &put : nullptr, static_cast<UINT>(reversed.size()),
                      kind == DISPATCH_PROPERTYPUT ? 1u : 0u};
    UniqueVariant result;
    EXCEPINFO excep{};
    if (FAILED(
            helper->Invoke(IdOf(helper, name), IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result.get(), &excep, nullptr)))
        result.put();  // Empty
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
    for (VARIANT& v : args) VariantClear(&v);
    return result;
}

VARIANT Text(const wchar_t* text) {
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(text);
    return v;
}

VARIANT Number(LONG n) {
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}

std::string ClassOf(HWND hwnd) {
    char name[128] = {};
    if (hwnd) GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

// The clipboard's owner is the object's reply window: a window of this thread of that class.
void CheckOwnerIsTheReplyWindow(const std::string& after) {
    const HWND owner = GetClipboardOwner();
    Check(ClassOf(owner) == "OmbriskReplyWindow" && GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId(),
          "after " + after + " the clipboard's owner is this thread's reply window (owner of class \"" + ClassOf(owner) +
              "\")");
}

void EmptyWithoutOwner() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

// FormatAny on the platform's service alone: Windows' text for every row but four, whose text
// is known to come out wrong from Wine's service (an exponent written with # digits).
void FormatPart(IDispatch* helper, const wchar_t* table) {
    const auto rows = format_rows::ReadRows(table);
    Check(rows.has_value(), "the table opens");
    if (!rows) return;
    const DISPID formatAny = IdOf(helper, L"FormatAny");
    int compared = 0, windows = 0, wineFaults = 0;
    for (const format_rows::Row& row : *rows) {
        if (!row.applicable) continue;
        const int line = std::atoi(row.line.c_str());
        const bool wineFault = line >= 366 && line <= 369;
        const bool good = format_rows::CheckRow(helper, formatAny, row, !wineFault);
        ++compared;
        if (good && !wineFault) ++windows;
        if (good && wineFault) ++wineFaults;
    }
    Check(compared == 573, "the rows of the table that apply: " + std::to_string(compared) + " of 573");
    Info("FormatAny as if on Windows: " + std::to_string(windows) + " of " + std::to_string(compared) +
         " rows give Windows' text; " + std::to_string(wineFaults) + " give Wine's own wrong text");
}

void ClipPart(IDispatch* helper) {
    Call(helper, L"SetTextToClip", {Text(L"owned text")});
    CheckOwnerIsTheReplyWindow("SetTextToClip");
}

// The names of each panel without and with the library owning the clipboard before the call:
// the host empties the clipboard before it copies, which waits for the owner to answer.
void SelectedPart(IDispatch* helper, const std::string& mode) {
    Call(helper, L"NoArrayReturn", {Number(-1)}, DISPATCH_PROPERTYPUT);
    const struct {
        const wchar_t* name;
        std::wstring names;
    } members[] = {{L"GetSrcSelectedFiles", L"a.txt\r\nb.txt"}, {L"GetTrgSelectedFiles", L"x.doc"}};
    for (const auto& m : members) {
        const std::string shown = format_rows::Narrow(m.name);
        auto timed = [&](const std::string& after) {
            const double start = NowMs();
            UniqueVariant r = Call(helper, m.name);
            const double took = NowMs() - start;
            const VARIANT& v = *r.get();
            Check(V_VT(&v) == VT_BSTR && std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) == m.names,
                  shown + " " + after + ": the names");
            return took;
        };
        EmptyWithoutOwner();
        timed("warming up");
        EmptyWithoutOwner();
        const double plain = timed("on a clipboard no window owns");
        Call(helper, L"SetTextToClip", {Text(L"before")});
        const double afterSet = timed("after SetTextToClip");
        if (mode == "windows") CheckOwnerIsTheReplyWindow(shown + " put back what SetTextToClip had set");
        Call(helper, L"ClearClip");
        const double afterClear = timed("after ClearClip");
        const double bound = 3 * plain + 300;
        Check(afterSet <= bound, shown + " after SetTextToClip takes at most 3 x the plain call + 300 ms (" + Ms(afterSet) +
                                     ", plain " + Ms(plain) + ")");
        Check(afterClear <= bound, shown + " after ClearClip takes at most 3 x the plain call + 300 ms (" + Ms(afterClear) +
                                       ", plain " + Ms(plain) + ")");
        Info(mode + " " + shown + ": plain " + Ms(plain) + ", after SetTextToClip " + Ms(afterSet) + ", after ClearClip " +
             Ms(afterClear));
    }
}

std::string ReadLog(const std::wstring& path) {
    std::string text;
    if (FILE* in = _wfopen(path.c_str(), L"rb")) {
        char chunk[512];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, in)) > 0;) text.append(chunk, got);
        fclose(in);
    }
    return text;
}

// Another program opens and empties the clipboard during Sleep 3000, while the reply window owns
// it: neither step may wait for the Sleep to end.
void SleepPart(IDispatch* helper, const std::string& mode, const std::wstring& log) {
    const std::string after = mode == "windows" ? "SetTextToClip" : "ClearClip";
    if (mode == "windows") Call(helper, L"SetTextToClip", {Text(L"owned")});
    else Call(helper, L"ClearClip");
    CheckOwnerIsTheReplyWindow(after);

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring standin(self);
    standin = standin.substr(0, standin.find_last_of(L'\\') + 1) + L"standin.exe";
    std::wstring command = L"\"" + standin + L"\" ctl emptyclip 300 \"" + log + L"\"";
    DeleteFileW(log.c_str());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const bool started =
        CreateProcessW(standin.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
    Check(started, "another program is started to empty the clipboard");
    if (!started) return;
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    const double start = NowMs();
    Call(helper, L"Sleep", {Number(3000)});
    const double slept = NowMs() - start;
    const std::string seen = ReadLog(log);
    WaitForSingleObject(process.get(), 15000);
    const double ended = NowMs() - start;
    auto oneLine = [](std::string text) {
        for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "; ");
        return text;
    };
    Check(seen.find("EMPTYCLIP begin opened=1") != std::string::npos, "it had opened the clipboard before Sleep returned");
    Check(seen.find("EMPTYCLIP end emptied=1") != std::string::npos,
          "and emptied it before Sleep returned (its log then: " + oneLine(seen) + ")");
    Info(mode + " Sleep 3000 after " + after + ": returned after " + Ms(slept) + ", the other program ended after " +
         Ms(ended) + " (its log: " + oneLine(ReadLog(log)) + ")");
}

// Points the library's import of a user32 function at replacement, checked; the function it
// reached before, or null.
template <typename Fn>
Fn RedirectUser32(HMODULE library, const char* function, Fn replacement, const std::string& what) {
    void* original = nullptr;
    Check(client_patch::PatchImport(library, "user32.dll", function, reinterpret_cast<void*>(replacement), &original) &&
              original,
          std::string("the library's ") + function + " import now " + what);
    return reinterpret_cast<Fn>(original);
}

// A member whose request the host never finishes (it ends in it) must not report success.
void ExitPart(HMODULE library, IDispatch* helper, const std::wstring& member, const std::wstring& hostLog) {
    g_realSend = RedirectUser32(library, "SendMessageTimeoutA", &SendAsOnWindows, "answers as Windows does");
    if (!g_realSend) return;
    UniqueVariant r =
        member == L"UserCmd" ? Call(helper, L"UserCmd", {Text(L"em_exit")}) : Call(helper, L"SetSrcPath", {Text(L"C:\\")});
    const VARIANT& v = *r.get();
    Check(V_VT(&v) == VT_BOOL && V_BOOL(&v) == VARIANT_FALSE,
          format_rows::Narrow(member.c_str()) + " to a host that ends in the request gives False");
    Check(!HostLogLines(hostLog, "EXIT during").empty(), "the host had ended in the middle of it");
}

// Waits answer sent messages only: a message posted to a window of the calling thread and a
// quit request stay queued, and the window is not re-entered in the middle of the member.
int g_counted = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++g_counted;
    return DefWindowProcW(window, msg, wParam, lParam);
}

void PostedPart(IDispatch* helper) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CountingWindow";
    RegisterClassW(&wc);
    const HWND window =
        CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    g_counted = 0;
    PostMessageW(window, WM_APP, 0, 0);
    PostQuitMessage(0);
    Call(helper, L"Sleep", {Number(50)});
    Check(g_counted == 0, "Sleep 50 called the window not once (" + std::to_string(g_counted) + " calls)");
    MSG msg;
    Check(PeekMessageW(&msg, window, WM_APP, WM_APP, PM_REMOVE) != FALSE, "the message posted to it is still queued");
    Check(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, "and so is the quit request");
    DestroyWindow(window);
}

// A host whose bar is 6 pixels wide, a separator only at 150 % (at most 4 pixels at 100 %).
void SeparatorPart(HMODULE library, IDispatch* helper, const std::wstring& hostLog) {
    g_realMouseEvent = RedirectUser32(library, "mouse_event", &MouseEventWithLateMove,
                                      "moves the cursor back to the press before a release");
    if (!g_realMouseEvent) return;
    UniqueVariant before = Call(helper, L"Separator", {}, DISPATCH_PROPERTYGET);
    Check(V_VT(before.get()) == VT_R4 && V_R4(before.get()) == 50.0f,
          "get finds the 6-pixel bar with the monitor at 144 dpi: 50 as a Single (type " +
              std::to_string(V_VT(before.get())) + ")");
    Call(helper, L"Separator", {Number(25)}, DISPATCH_PROPERTYPUT);
    Check(g_lateMoves == 1, "the cursor was moved back to the press before the drag's release");
    const auto ups = HostLogLines(hostLog, "SEPARATOR up x=");
    const long upX = ups.empty() ? -1 : std::atol(ups[0].c_str() + 15);
    // Client x 199 is 25 % of 800 less one pixel; Wine's mapping of the mouse's range may lose one.
    Check(upX == 199 || upX == 198, "the release landed where asked (" + (ups.empty() ? "none" : ups[0]) + ")");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv) || argc < 5) return 2;
    const std::wstring modeArg = argv[2], part = argv[4];
    const bool asWindows = modeArg == L"windows";
    const std::string mode = asWindows ? "windows" : "wine";
    CoInitialize(nullptr);
    const HMODULE library = LoadLibraryW(argv[3]);
    Check(library != nullptr, "the library loads from the path given");
    if (part == L"separator") g_monitorDpi = 144;
    if (asWindows && library) {
        void* original = nullptr;
        const bool patched = client_patch::PatchImport(library, "kernel32.dll", "GetProcAddress",
                                                       reinterpret_cast<void*>(&GetProcAddressWithoutWine), &original);
        Check(patched && original, "the library's GetProcAddress import now reaches the routine that hides Wine");
        g_realGetProcAddress = reinterpret_cast<GetProcAddressFn>(original);
    }
    IDispatch* helper = CreateHelper();
    HMODULE objectModule = nullptr;
    if (helper)
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           *reinterpret_cast<LPCWSTR*>(helper), &objectModule);
    Check(helper && objectModule == library, "Ombrisk.Helper is created from the library loaded here");
    if (helper && objectModule == library && (!asWindows || g_realGetProcAddress)) {
        if (part == L"format" && argc > 5) FormatPart(helper, argv[5]);
        else if (part == L"clip") ClipPart(helper);
        else if (part == L"selected") SelectedPart(helper, mode);
        else if (part == L"sleep" && argc > 5) SleepPart(helper, mode, argv[5]);
        else if (part == L"exit" && argc > 6) ExitPart(library, helper, argv[5], argv[6]);
        else if (part == L"posted") PostedPart(helper);
        else if (part == L"separator" && argc > 5) SeparatorPart(library, helper, argv[5]);
        else Check(false, "a known part with its arguments");
        // The sends of "exit" and the separator choose nothing by platform.
        if (asWindows && part != L"exit" && part != L"separator")
            Check(g_hidden > 0, "the library asked for wine_get_version and was told there is none");
    }
    if (helper) helper->Release();
    CoUninitialize();
    return FinishReport();
}
