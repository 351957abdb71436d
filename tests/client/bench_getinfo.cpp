// Cost of GetInfo("SP") from VBScript against the same "GW"/"RW" exchange done by plain C++,
// in one process: the VBScript engine runs in this process (IActiveScript with a minimal site)
// and calls an Ombrisk.Helper object it creates itself; the plain loop sends "GW" requests to
// the host from a hidden window of its own that receives the "RW" answers. The two loops
// alternate for a few rounds; per-call times come from QueryPerformanceCounter.
//   bench_getinfo <outFile> [calls per loop] [rounds]
// The stand-in host must run and answer SP with the text given in EXPECTED below. Writes
// "ok N - ..." / "not ok N - ..." lines, "BENCH ..." lines with the figures and a final
// "DONE passed=P failed=F" line to outFile.
#include "tests/client/ClientReport.h"

#include <windows.h>
#include <activscp.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace client_report;


const wchar_t kExpected[] = L"C:\\bench\\";  // the stand-in's answer to SP (set by the calling script)
const GUID kIID_IActiveScript = {0xbb1a2ae1, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
const GUID kIID_IActiveScriptParse = {0xbb1a2ae2, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
const GUID kIID_IActiveScriptSite = {0xdb01a1e3, 0xa42b, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
constexpr ULONG_PTR kCodeGW = 0x5747;  // "GW", first character in the low byte
constexpr ULONG_PTR kCodeRW = 0x5752;  // "RW"



std::string Narrow(const wchar_t* s) {
    std::string r;
    for (; s && *s; ++s) r.push_back(*s < 0x80 ? static_cast<char>(*s) : '?');
    return r;
}

double Seconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

// The script site: no named items, errors are kept for the report.
class Site final : public IActiveScriptSite {
public:
    std::string error;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == kIID_IActiveScriptSite) {
            *ppv = static_cast<IActiveScriptSite*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on main's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR, DWORD, IUnknown**, ITypeInfo**) override { return TYPE_E_ELEMENTNOTFOUND; }
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* e) override {
        EXCEPINFO info{};
        DWORD context = 0;
        ULONG line = 0;
        LONG column = 0;
        e->GetExceptionInfo(&info);
        e->GetSourcePosition(&context, &line, &column);
        char b[64];
        snprintf(b, sizeof b, "0x%08lX at line %lu: ", static_cast<unsigned long>(info.scode), line + 1);
        error = b + Narrow(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }
};

// The VBScript engine of this process with one script loaded.
struct Engine {
    IActiveScript* script = nullptr;
    IActiveScriptParse* parse = nullptr;
    Site site;

    bool Start() {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(L"VBScript", &clsid))) return false;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIID_IActiveScript, reinterpret_cast<void**>(&script))))
            return false;
        if (FAILED(script->QueryInterface(kIID_IActiveScriptParse, reinterpret_cast<void**>(&parse)))) return false;
        return SUCCEEDED(parse->InitNew()) && SUCCEEDED(script->SetScriptSite(&site)) &&
               SUCCEEDED(script->SetScriptState(SCRIPTSTATE_STARTED));
    }
    // Runs text at once (the engine is started); false when it failed.
    bool Run(const std::wstring& text) {
        EXCEPINFO info{};
        const HRESULT hr = parse->ParseScriptText(text.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, &info);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        return SUCCEEDED(hr) && site.error.empty();
    }
    // A global variable of the script, as a number (-1 when it cannot be read).
    long Global(const wchar_t* name) {
        IDispatch* globals = nullptr;
        if (FAILED(script->GetScriptDispatch(nullptr, &globals)) || !globals) return -1;
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        long value = -1;
        if (SUCCEEDED(globals->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id))) {
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            VARIANT v;
            VariantInit(&v);
            if (SUCCEEDED(globals->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr)) &&
                SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4)))
                value = V_I4(&v);
            VariantClear(&v);
        }
        globals->Release();
        return value;
    }
    void Stop() {
        if (script) script->Close();
        if (parse) parse->Release();
        if (script) script->Release();
        parse = nullptr;
        script = nullptr;
    }
};

// The plain exchange: a hidden window of our own receives the "RW" answers.
std::wstring g_answer;
long g_answers = 0;

LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (cds && cds->dwData == kCodeRW) {
            const auto* text = static_cast<const wchar_t*>(cds->lpData);
            size_t n = 0;
            while (cds->lpData && n < cds->cbData / sizeof(wchar_t) && text[n]) ++n;
            g_answer.assign(text ? text : L"", n);
            ++g_answers;
        }
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateReplyWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OmbriskBenchReply";
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

// n "GW" SP requests; the number of right answers.
long PlainLoop(HWND host, HWND reply, long n) {
    char request[] = "SP";
    long right = 0;
    for (long i = 0; i < n; ++i) {
        COPYDATASTRUCT cds{kCodeGW, sizeof(request), request};
        const long before = g_answers;
        SendMessageA(host, WM_COPYDATA, reinterpret_cast<WPARAM>(reply), reinterpret_cast<LPARAM>(&cds));
        if (g_answers == before + 1 && g_answer == kExpected) ++right;
    }
    return right;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_out = argc > 1 ? _wfopen(argv[1], L"w") : stdout;
    if (!g_out) return 2;
    const long calls = argc > 2 ? _wtol(argv[2]) : 2000;
    const int rounds = argc > 3 ? _wtoi(argv[3]) : 5;
    CoInitialize(nullptr);

    HWND host = FindWindowA("TTOTAL_CMD", nullptr);
    Check(host != nullptr, "the host window is there");
    HWND reply = CreateReplyWindow();
    Check(reply != nullptr, "the plain loop's reply window exists");
    Engine engine;
    const bool started = engine.Start();
    Check(started, "the VBScript engine runs in this process");
    const std::wstring expected = std::wstring(L"\"") + L"C:\\bench\\" + L"\"";
    const bool created = started && engine.Run(L"Dim h, r, i, bad\r\nSet h = CreateObject(\"Ombrisk.Helper\")\r\n"
                                               L"h.Pause = 0\r\nbad = 0\r\n");
    Check(created, "the script created an Ombrisk.Helper object" + (engine.site.error.empty() ? "" : " (" + engine.site.error + ")"));
    if (!host || !reply || !created) {
        engine.Stop();
        fprintf(g_out, "DONE passed=%d failed=%d\n", g_passed, g_failed);
        fclose(g_out);
        return 1;
    }
    const std::wstring loop = L"For i = 1 To " + std::to_wstring(calls) + L"\r\n  r = h.GetInfo(\"SP\")\r\n  If r <> " + expected +
                              L" Then bad = bad + 1\r\nNext\r\n";
    // One untimed round of each first: the reply window, the engine's caches and the host warm up.
    engine.Run(L"r = h.GetInfo(\"SP\")\r\n");
    PlainLoop(host, reply, 10);

    std::vector<double> ratios;
    double vbTotal = 0, plainTotal = 0;
    long vbWrong = 0, plainWrong = 0;
    for (int round = 0; round < rounds; ++round) {
        engine.Run(L"bad = 0\r\n");
        LONGLONG t0 = Now();
        const bool ran = engine.Run(loop);
        const double vb = Seconds(Now() - t0);
        const long bad = engine.Global(L"bad");
        if (!ran || bad != 0) vbWrong += ran && bad > 0 ? bad : calls;
        t0 = Now();
        const long right = PlainLoop(host, reply, calls);
        const double plain = Seconds(Now() - t0);
        plainWrong += calls - right;
        vbTotal += vb;
        plainTotal += plain;
        ratios.push_back(vb / plain);
        fprintf(g_out, "BENCH round %d: VBScript %.1f us per call, plain C++ %.1f us per call, ratio %.3f\n", round + 1,
                vb * 1e6 / static_cast<double>(calls), plain * 1e6 / static_cast<double>(calls), vb / plain);
    }
    Check(vbWrong == 0, "every VBScript GetInfo(\"SP\") got the host's answer (" + std::to_string(vbWrong) + " wrong" +
                            (engine.site.error.empty() ? "" : ", " + engine.site.error) + ")");
    Check(plainWrong == 0, "every plain GW request got its RW answer (" + std::to_string(plainWrong) + " wrong)");
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    fprintf(g_out, "BENCH GetInfo(\"SP\") VBScript/plain: median ratio %.3f over %d rounds of %ld calls each "
                   "(VBScript %.1f us, plain %.1f us per call overall)\n",
            median, rounds, calls, vbTotal * 1e6 / (static_cast<double>(calls) * rounds),
            plainTotal * 1e6 / (static_cast<double>(calls) * rounds));
    // A generous bound only: the figure itself is for the report, not for a verdict.
    Check(median > 0 && median < 20, "the VBScript path costs less than 20 times the plain exchange");
    engine.Run(L"Set h = Nothing\r\n");
    engine.Stop();
    DestroyWindow(reply);
    CoUninitialize();
    fprintf(g_out, "DONE passed=%d failed=%d\n", g_passed, g_failed);
    fclose(g_out);
    return g_failed == 0 ? 0 : 1;
}
