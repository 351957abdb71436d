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
#include "tests/client/ScriptEngine.h"

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
using script_engine::Engine;
using script_engine::Seconds;

const wchar_t kExpected[] = L"C:\\bench";  // the stand-in's answer to SP (set by the caller)
constexpr ULONG_PTR kCodeGW = 0x5747;      // "GW", first character in the low byte
constexpr ULONG_PTR kCodeRW = 0x5752;      // "RW"

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
    return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                           nullptr);
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
    const std::wstring expected = std::wstring(L"\"") + kExpected + L"\"";
    const bool created = started && engine.Run(
                                        L"Dim h, r, i, bad\r\nSet h = CreateObject(\"Ombrisk.Helper\")\r\n"
                                        L"h.Pause = 0\r\nbad = 0\r\n");
    Check(created,
          "the script created an Ombrisk.Helper object" + (engine.site.error.empty() ? "" : " (" + engine.site.error + ")"));
    if (!host || !reply || !created) {
        engine.Stop();
        fprintf(g_out, "DONE passed=%d failed=%d\n", g_passed, g_failed);
        fclose(g_out);
        return 1;
    }
    const std::wstring loop = L"For i = 1 To " + std::to_wstring(calls) + L"\r\n  r = h.GetInfo(\"SP\")\r\n  If r <> " +
                              expected + L" Then bad = bad + 1\r\nNext\r\n";
    // One untimed round of each first: the reply window, the engine's caches and the host warm up.
    engine.Run(L"r = h.GetInfo(\"SP\")\r\n");
    PlainLoop(host, reply, 10);

    std::vector<double> ratios;
    double vbTotal = 0, plainTotal = 0;
    long vbWrong = 0, plainWrong = 0;
    for (int round = 0; round < rounds; ++round) {
        engine.Run(L"bad = 0\r\n");
        LONGLONG t0 = script_engine::Ticks();
        const bool ran = engine.Run(loop);
        const double vb = Seconds(script_engine::Ticks() - t0);
        const long bad = static_cast<long>(engine.Number(L"bad"));
        if (!ran || bad != 0) vbWrong += ran && bad > 0 ? bad : calls;
        t0 = script_engine::Ticks();
        const long right = PlainLoop(host, reply, calls);
        const double plain = Seconds(script_engine::Ticks() - t0);
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
    fprintf(g_out,
            "BENCH GetInfo(\"SP\") VBScript/plain: median ratio %.3f over %d rounds of %ld calls each "
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
