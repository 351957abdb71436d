// SetTextToClip seen from inside the script's process: who owns the clipboard afterwards, and
// what a text whose memory block cannot be had does to the clipboard. The object is called
// through its interface's own slots, so no dispatcher copies the large text on the way.
//   clipclient <outFile>
// Writes "ok N - ..." / "not ok N - ..." checks and "DONE passed=P failed=F" to outFile.
#include "tests/client/ClientReport.h"
#include "generated/Ombrisk_h.h"

#include <windows.h>
#include <psapi.h>

#include <string>
#include <vector>

namespace {

using namespace client_report;

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"<clipboard not opened>";
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            text.assign(p, wcsnlen(p, GlobalSize(h) / sizeof(wchar_t)));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

std::string ClassOf(HWND hwnd) {
    char name[128] = {};
    if (hwnd) GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

// Reserves address space in ever smaller pieces down to pieceFloor, so that afterwards no free
// stretch of pieceFloor bytes or more is left in the process. Returns the reservations.
std::vector<void*> ReserveAddressSpace(SIZE_T pieceFloor) {
    std::vector<void*> reserved;
    for (SIZE_T piece = SIZE_T{1} << 30; piece >= pieceFloor; piece /= 2)
        while (void* p = VirtualAlloc(nullptr, piece, MEM_RESERVE, PAGE_NOACCESS)) reserved.push_back(p);
    return reserved;
}

void Release(std::vector<void*>& reserved) {
    for (void* p : reserved) VirtualFree(p, 0, MEM_RELEASE);
    reserved.clear();
}

_Helper* HelperInterface(IDispatch* helper) {
    ITypeInfo* info = nullptr;
    TYPEATTR* attr = nullptr;
    _Helper* direct = nullptr;
    if (SUCCEEDED(helper->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && SUCCEEDED(info->GetTypeAttr(&attr))) {
        helper->QueryInterface(attr->guid, reinterpret_cast<void**>(&direct));
        info->ReleaseTypeAttr(attr);
    }
    if (info) info->Release();
    return direct;
}

HRESULT SetText(_Helper* h, BSTR text) {
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = h->SetTextToClip(text, &result);
    const bool empty = V_VT(&result) == VT_EMPTY;
    VariantClear(&result);
    return SUCCEEDED(hr) && !empty ? E_UNEXPECTED : hr;
}

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// On Windows the reply window owns the clipboard after SetTextToClip; under Wine the library sets
// the text with no owner, because Wine leaks 1 KB on each read of data its reader owns.
void OwnerIsTheReplyWindow(_Helper* h) {
    BSTR text = SysAllocString(L"owned text");
    const HRESULT hr = SetText(h, text);
    SysFreeString(text);
    Check(hr == S_OK, "SetTextToClip succeeds and returns Empty");
    const HWND owner = GetClipboardOwner();
    if (UnderWine()) {
        Check(owner == nullptr, "under Wine the text is set with no owner (class \"" + ClassOf(owner) + "\")");
    } else {
        Check(ClassOf(owner) == "OmbriskReplyWindow",
              "the clipboard's owner is the reply window (class \"" + ClassOf(owner) + "\")");
        Check(owner && GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId(), "of the calling thread");
    }
    Check(ClipboardText() == L"owned text", "and the text is on the clipboard");
}

// Reading data back that this process put on the clipboard does not leak (Wine's
// GetClipboardData does when a window of the reading process owns the data).
void ReadingBackKeepsMemory(_Helper* h) {
    BSTR text = SysAllocString(L"read back");
    SetText(h, text);
    SysFreeString(text);
    auto privateBytes = [] {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
        return static_cast<long long>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
    };
    auto readMany = [&](int n) {
        for (int i = 0; i < n; ++i) {
            BSTR got = nullptr;
            h->GetTextFromClip(&got);
            SysFreeString(got);
        }
    };
    readMany(1000);
    const long long before = privateBytes();
    readMany(10000);
    const long long grown = privateBytes() - before;
    Check(grown < (1 << 20),
          "10000 reads of the text set by this process grow memory by less than 1 MB (" + std::to_string(grown) + " bytes)");
}

// A text of 80 million characters needs a block of 160 MB; with no free stretch of 128 MB left
// in the process, that block cannot be had.
void UnallocatableTextLeavesTheClipboard(_Helper* h) {
    BSTR keep = SysAllocString(L"keep me");
    SetText(h, keep);
    SysFreeString(keep);
    const DWORD sequence = GetClipboardSequenceNumber();

    constexpr UINT kChars = 80u << 20;
    BSTR big = SysAllocStringLen(nullptr, kChars);
    if (!big) {
        Check(false, "the 160 MB text could be made");
        return;
    }
    for (UINT i = 0; i < kChars; ++i) big[i] = L'a';
    std::vector<void*> reserved = ReserveAddressSpace(SIZE_T{128} << 20);
    HGLOBAL probe = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T{kChars} + 1) * sizeof(wchar_t));
    const bool provoked = probe == nullptr;
    if (probe) GlobalFree(probe);
    const HRESULT hr = provoked ? SetText(h, big) : E_FAIL;
    Release(reserved);
    SysFreeString(big);

    Check(provoked, "a block for the text cannot be allocated while the address space is taken");
    Check(hr == S_OK, "SetTextToClip of such a text returns Empty without an error");
    Check(ClipboardText() == L"keep me", "and leaves the clipboard's text as it was");
    Check(GetClipboardSequenceNumber() == sequence, "without emptying the clipboard in between");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv)) return 2;
    if (FAILED(CoInitialize(nullptr))) {
        Check(false, "COM starts");
        return FinishReport();
    }
    IDispatch* helper = CreateHelper();
    _Helper* h = helper ? HelperInterface(helper) : nullptr;
    Check(h != nullptr, "Ombrisk.Helper is created with its interface");
    if (h) {
        OwnerIsTheReplyWindow(h);
        ReadingBackKeepsMemory(h);
        UnallocatableTextLeavesTheClipboard(h);
        h->Release();
    }
    if (helper) helper->Release();
    CoUninitialize();
    return FinishReport();
}
