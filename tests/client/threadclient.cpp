// Two single-threaded apartments at once: each thread initialises COM for itself, creates its
// own Helper objects and makes GetInfo requests with its own request text while the other
// thread does the same, and checks that every answer it gets is its own and that it has a
// reply window of its own. The stand-in host runs and answers ALPHA and BETA differently; its
// log then tells which window every request named as its reply window. Writes
// "ok N - ..." / "not ok N - ..." lines, "INFO ..." lines and a final "DONE passed=P failed=F"
// line to the file named on the command line.
//   threadclient <outFile> <requests per thread> <host log>
#include "tests/client/ClientReport.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace client_report;

// Called by the main thread only, after the workers have ended.

std::string Narrow(const wchar_t* s, size_t n) {
    std::string r;
    for (size_t i = 0; i < n; ++i) r.push_back(s[i] < 0x80 ? static_cast<char>(s[i]) : '?');
    return r;
}

// GetInfo(request) as a script calls it; the answer text, or "<error 0x...>" when the call fails.
std::string GetInfo(IDispatch* d, DISPID id, const wchar_t* request) {
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = SysAllocString(request);
    DISPPARAMS params{&arg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep{};
    const HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &excep, nullptr);
    VariantClear(&arg);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    std::string text;
    if (FAILED(hr)) {
        char b[32];
        snprintf(b, sizeof b, "<error 0x%08lX>", static_cast<unsigned long>(hr));
        text = b;
    } else if (V_VT(&result) == VT_BSTR) {
        text = Narrow(V_BSTR(&result), SysStringLen(V_BSTR(&result)));
    } else {
        text = "<type " + std::to_string(V_VT(&result)) + ">";
    }
    VariantClear(&result);
    return text;
}

bool IsReplyWindow(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return std::strcmp(name, "OmbriskReplyWindow") == 0;
}

BOOL CALLBACK CountTopLevelReplyWindow(HWND hwnd, LPARAM lParam) {
    if (IsReplyWindow(hwnd)) ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

// The reply windows that belong to the calling thread: message-only windows, which no broadcast
// to the top-level windows reaches. topLevel counts those of the thread that are not.
std::vector<HWND> OwnReplyWindows(int* topLevel = nullptr) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExA(HWND_MESSAGE, w, "OmbriskReplyWindow", nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) found.push_back(w);
    if (topLevel) EnumThreadWindows(GetCurrentThreadId(), CountTopLevelReplyWindow, reinterpret_cast<LPARAM>(topLevel));
    return found;
}

struct Worker {
    const char* name = "";
    const wchar_t* request = L"";  // this thread's request text
    std::string answer;            // what the host answers to it
    int requests = 0;
    HANDLE startGate = nullptr;  // both threads begin their requests together
    // Results, read by the main thread after the join.
    int own = 0;
    int foreign = 0;
    int other = 0;
    std::string firstWrong;
    HWND replyWindow = nullptr;
    HWND replyWindowAfterRelease = nullptr;
    size_t replyWindowsAtEnd = 0;
    int topLevelReplyWindows = 0;  // reply windows of the thread among the top-level windows
    bool created = false;
};

void Record(Worker& w, const std::string& got, const std::string& foreignAnswer) {
    if (got == w.answer) {
        ++w.own;
        return;
    }
    if (got == foreignAnswer) ++w.foreign;
    else ++w.other;
    if (w.firstWrong.empty()) w.firstWrong = got;
}

struct Pair {
    Worker* self;
    Worker* peer;
};

DWORD WINAPI Run(void* param) {
    auto* pair = static_cast<Pair*>(param);
    Worker& w = *pair->self;
    CoInitialize(nullptr);
    IDispatch* first = CreateHelper();
    IDispatch* second = CreateHelper();
    w.created = first && second;
    if (w.created) {
        const DISPID id = IdOf(first, L"GetInfo");
        const std::vector<HWND> windows = OwnReplyWindows(&w.topLevelReplyWindows);
        w.replyWindow = windows.size() == 1 ? windows[0] : nullptr;
        WaitForSingleObject(w.startGate, 10000);
        for (int i = 0; i < w.requests; ++i) {
            Record(w, GetInfo(first, id, w.request), pair->peer->answer);
            if (i == w.requests / 2) {
                // Releasing an object closes this thread's reply window; the other object gets
                // a new one with its next request, and the other thread is not disturbed.
                second->Release();
                second = nullptr;
                Record(w, GetInfo(first, id, w.request), pair->peer->answer);
                const std::vector<HWND> again = OwnReplyWindows();
                w.replyWindowAfterRelease = again.size() == 1 ? again[0] : nullptr;
            }
        }
    }
    if (second) second->Release();
    if (first) first->Release();
    w.replyWindowsAtEnd = OwnReplyWindows().size();
    CoUninitialize();
    return 0;
}

std::string Hwnd(HWND h) { return std::to_string(reinterpret_cast<uintptr_t>(h)); }

// The value of "key=" in a log line ("" when absent); values end at a space.
std::string Field(const std::string& line, const std::string& key) {
    const size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) return "";
    const size_t start = at + key.size() + 2;
    return line.substr(start, line.find(' ', start) - start);
}

// Every request in the host's log (its text is in the bytes: ALPHA or BETA, then a NUL) named a
// reply window of the thread that made it, and the two threads' requests came interleaved.
void HostLogChecks(const std::wstring& log, const Worker& a, const Worker& b) {
    int counts[2] = {0, 0}, wrongFrom = 0, switches = 0, previous = -1;
    std::string firstWrong;
    for (const std::string& line : HostLogLines(log, "COPYDATA code=GW")) {
        const int request = line.find("bytes=41 4C 50 48 41 00") != std::string::npos ? 0
                            : line.find("bytes=42 45 54 41 00") != std::string::npos  ? 1
                                                                                      : -1;
        const Worker* w = request == 0 ? &a : request == 1 ? &b : nullptr;
        const std::string from = Field(line, "from");
        if (!w || (from != Hwnd(w->replyWindow) && from != Hwnd(w->replyWindowAfterRelease))) {
            if (++wrongFrom == 1) firstWrong = line;
            continue;
        }
        ++counts[request];
        if (previous >= 0 && request != previous) ++switches;
        previous = request;
    }
    Check(counts[0] == a.requests + 1 && counts[1] == b.requests + 1, "the host received every request of both threads (" +
                                                                          std::to_string(counts[0]) + " ALPHA, " +
                                                                          std::to_string(counts[1]) + " BETA)");
    Check(switches >= a.requests / 4,
          "the two threads' requests reached the host interleaved (" + std::to_string(switches) + " changes)");
    Check(wrongFrom == 0, "every request named its own thread's reply window (the host's from= field; " +
                              std::to_string(wrongFrom) + " did not" + (firstWrong.empty() ? "" : ": " + firstWrong) + ")");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv) || argc < 4) return 2;
    const int requests = _wtoi(argv[2]);
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Worker a, b;
    a.name = "A";
    a.request = L"ALPHA";
    a.answer = "alpha answer";
    b.name = "B";
    b.request = L"BETA";
    b.answer = "beta answer";
    for (Worker* w : {&a, &b}) {
        w->requests = requests;
        w->startGate = gate;
    }
    Pair pa{&a, &b}, pb{&b, &a};
    HANDLE threads[2] = {CreateThread(nullptr, 0, Run, &pa, 0, nullptr), CreateThread(nullptr, 0, Run, &pb, 0, nullptr)};
    // Both threads have created their objects (or given up) well before this; then they start
    // their requests at the same moment.
    Sleep(1000);
    SetEvent(gate);
    const DWORD waited = WaitForMultipleObjects(2, threads, TRUE, 120000);
    Check(waited == WAIT_OBJECT_0, "both threads finished");
    for (Worker* w : {&a, &b}) {
        const std::string n = w->name;
        Check(w->created, "thread " + n + " created its two objects in its own apartment");
        Check(w->own == w->requests + 1, "thread " + n + ": all " + std::to_string(w->requests + 1) +
                                             " answers were its own (" + std::to_string(w->own) + " own, " +
                                             std::to_string(w->foreign) + " of the other thread, " +
                                             std::to_string(w->other) + " other" +
                                             (w->firstWrong.empty() ? "" : ", first wrong: " + w->firstWrong) + ")");
        Check(w->replyWindow != nullptr && w->topLevelReplyWindows == 0,
              "thread " + n + " has one reply window of its own, message-only (" + std::to_string(w->topLevelReplyWindows) +
                  " top-level)");
        Check(w->replyWindowAfterRelease != nullptr && w->replyWindowAfterRelease != w->replyWindow,
              "thread " + n + " got a new reply window after releasing one of its objects");
        Check(w->replyWindowsAtEnd == 0, "thread " + n + " has no reply window once its objects are gone");
        Info("thread " + n + " request=" + Narrow(w->request, wcslen(w->request)) + " window=" + Hwnd(w->replyWindow) +
             " window2=" + Hwnd(w->replyWindowAfterRelease));
    }
    Check(a.replyWindow && b.replyWindow && a.replyWindow != b.replyWindow, "the two threads' reply windows differ");
    HostLogChecks(argv[3], a, b);
    for (HANDLE t : threads)
        if (t) CloseHandle(t);
    CloseHandle(gate);
    return FinishReport();
}
