// Watches what SetFileDateAtr hands to the platform. The library's import of SetFileTime (in
// this process only) is pointed at a recorder, so the three FILETIMEs can be checked in the
// slots the platform reads them from, the creation time included (Wine on Linux keeps no
// creation time, so reading the file back cannot show it), and a refusal of the platform can be
// simulated. Nothing in the library knows about the recorder.
//   filetimeclient <outFile> <work folder>
// Writes "ok N - ..." / "not ok N - ..." lines and a final "DONE passed=P failed=F" line.
#include "tests/client/ClientReport.h"
#include "tests/client/ImportPatch.h"
#include "platform/Raii.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace client_report;
using client_patch::PatchImport;
using ombrisk::UniqueFile;

using SetFileTimeFn = BOOL(WINAPI*)(HANDLE, const FILETIME*, const FILETIME*, const FILETIME*);

// What the library last asked the platform for. Slots in SetFileTime's order.
struct Recorded {
    int calls = 0;
    std::optional<uint64_t> creation, lastAccess, lastWrite;
};

SetFileTimeFn g_real = nullptr;
Recorded g_seen;
bool g_refuse = false;

std::optional<uint64_t> Ticks(const FILETIME* t) {
    if (!t) return std::nullopt;
    return (static_cast<uint64_t>(t->dwHighDateTime) << 32) | t->dwLowDateTime;
}

BOOL WINAPI RecordingSetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                                 const FILETIME* lastWrite) {
    ++g_seen.calls;
    g_seen.creation = Ticks(creation);
    g_seen.lastAccess = Ticks(lastAccess);
    g_seen.lastWrite = Ticks(lastWrite);
    if (g_refuse) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return g_real(file, creation, lastAccess, lastWrite);
}

// A local automation date as the UTC file time the platform's own conversions give.
uint64_t UtcTicksOf(DATE date) {
    SYSTEMTIME st = {};
    FILETIME local = {}, utc = {};
    VariantTimeToSystemTime(date, &st);
    st.wMilliseconds = 0;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return *Ticks(&utc);
}

DATE DateOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME st = {year, month, 0, day, hour, minute, second, 0};
    DATE d = 0;
    SystemTimeToVariantTime(&st, &d);
    return d;
}

constexpr uint64_t kTicksPerSecond = 10000000;
uint64_t WholeSeconds(uint64_t ticks) { return ticks - ticks % kTicksPerSecond; }

struct FileTimes {
    uint64_t creation = 0, lastAccess = 0, lastWrite = 0;
};

std::optional<FileTimes> ReadTimes(const std::wstring& path) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME c = {}, a = {}, w = {};
    if (!file || !GetFileTime(file.get(), &c, &a, &w)) return std::nullopt;
    return FileTimes{*Ticks(&c), *Ticks(&a), *Ticks(&w)};
}

bool NewFile(const std::wstring& path, DWORD attributes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD done = 0;
        if (!file || !WriteFile(file.get(), "content", 7, &done, nullptr)) return false;
    }
    return SetFileAttributesW(path.c_str(), attributes) != FALSE;
}

std::string Hex(uint64_t v) {
    char b[24];
    snprintf(b, sizeof b, "0x%016llX", static_cast<unsigned long long>(v));
    return b;
}

std::string Describe(const std::optional<uint64_t>& v) { return v ? Hex(*v) : std::string("null"); }

void CheckSlot(const char* slot, const std::optional<uint64_t>& seen, uint64_t expected, const std::string& what) {
    Check(seen && *seen == expected,
          what + ": " + slot + " handed to the platform (got " + Describe(seen) + ", expected " + Hex(expected) + ")");
}

// SetFileDateAtr as a script calls it: every argument a variable passed by reference; an
// argument left out is the "parameter not found" marker.
struct Args {
    std::optional<DATE> created, modified, accessed;
    std::optional<LONG> attributes;
};

std::optional<bool> SetFileDateAtr(IDispatch* d, DISPID id, const std::wstring& path, const Args& a) {
    VARIANT values[5];
    for (VARIANT& v : values) VariantInit(&v);
    V_VT(&values[0]) = VT_BSTR;
    V_BSTR(&values[0]) = SysAllocString(path.c_str());
    const std::optional<DATE> dates[3] = {a.created, a.modified, a.accessed};
    for (int i = 0; i < 3; ++i) {
        if (dates[i]) {
            V_VT(&values[1 + i]) = VT_DATE;
            V_DATE(&values[1 + i]) = *dates[i];
        } else {
            V_VT(&values[1 + i]) = VT_ERROR;
            V_ERROR(&values[1 + i]) = DISP_E_PARAMNOTFOUND;
        }
    }
    if (a.attributes) {
        V_VT(&values[4]) = VT_I4;
        V_I4(&values[4]) = *a.attributes;
    } else {
        V_VT(&values[4]) = VT_ERROR;
        V_ERROR(&values[4]) = DISP_E_PARAMNOTFOUND;
    }
    VARIANT refs[5];  // DISPPARAMS lists the arguments last to first
    for (int i = 0; i < 5; ++i) {
        VariantInit(&refs[4 - i]);
        V_VT(&refs[4 - i]) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&refs[4 - i]) = &values[i];
    }
    DISPPARAMS params = {refs, nullptr, 5, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep = {};
    UINT argErr = 0;
    const HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &excep, &argErr);
    for (VARIANT& v : values) VariantClear(&v);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    std::optional<bool> r;
    if (SUCCEEDED(hr) && V_VT(&result) == VT_BOOL) r = V_BOOL(&result) == VARIANT_TRUE;
    VariantClear(&result);
    return r;
}

std::string Shown(const std::optional<bool>& r) { return r ? (*r ? "true" : "false") : "no Boolean"; }

// The dates go to the slots the platform reads them from, converted from local time.
void SlotChecks(IDispatch* d, DISPID id, const std::wstring& dir) {
    const std::wstring path = dir + L"\\slots.txt";
    Check(NewFile(path, FILE_ATTRIBUTE_ARCHIVE), "a file to change");
    const DATE dc = DateOf(2018, 2, 3, 4, 5, 6), dm = DateOf(2020, 5, 17, 10, 20, 30), da = DateOf(2019, 11, 12, 13, 14, 15);

    const std::optional<FileTimes> before = ReadTimes(path);
    Check(before.has_value(), "the file's present times");
    if (!before) return;
    g_seen = {};
    std::optional<bool> r = SetFileDateAtr(d, id, path, {dc, {}, {}, {}});
    Check(r == true, "only DateCreated: true (got " + Shown(r) + ")");
    Check(g_seen.calls == 1, "one SetFileTime call (got " + std::to_string(g_seen.calls) + ")");
    CheckSlot("creation", g_seen.creation, UtcTicksOf(dc), "only DateCreated");
    CheckSlot("last write", g_seen.lastWrite, WholeSeconds(before->lastWrite), "only DateCreated, the present time");
    CheckSlot("last access", g_seen.lastAccess, WholeSeconds(before->lastAccess), "only DateCreated, the present time");

    g_seen = {};
    r = SetFileDateAtr(d, id, path, {dc, dm, da, {}});
    Check(r == true, "all three dates: true (got " + Shown(r) + ")");
    CheckSlot("creation", g_seen.creation, UtcTicksOf(dc), "all three dates");
    CheckSlot("last write", g_seen.lastWrite, UtcTicksOf(dm), "all three dates");
    CheckSlot("last access", g_seen.lastAccess, UtcTicksOf(da), "all three dates");

    const std::optional<FileTimes> now = ReadTimes(path);
    Check(now && now->lastWrite == UtcTicksOf(dm) && now->lastAccess == UtcTicksOf(da),
          "the recorder passed the call on: the file has the new write and access times");
    g_seen = {};
    const DATE later = DateOf(2021, 1, 1, 0, 0, 1);
    r = SetFileDateAtr(d, id, path, {{}, later, {}, {}});
    Check(r == true, "only DateLastModified: true (got " + Shown(r) + ")");
    if (now) CheckSlot("creation", g_seen.creation, WholeSeconds(now->creation), "only DateLastModified, the present time");
    CheckSlot("last write", g_seen.lastWrite, UtcTicksOf(later), "only DateLastModified");
}

// The platform refuses the times: false, and the attributes stay as they were read.
void RefusalChecks(IDispatch* d, DISPID id, const std::wstring& dir) {
    const DATE dm = DateOf(2020, 5, 17, 10, 20, 30);
    const std::wstring plain = dir + L"\\refused.txt", readOnly = dir + L"\\refused-ro.txt";
    Check(NewFile(plain, FILE_ATTRIBUTE_ARCHIVE) && NewFile(readOnly, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
          "files to change");
    g_refuse = true;

    g_seen = {};
    std::optional<bool> r = SetFileDateAtr(d, id, plain, {{}, dm, {}, {}});
    Check(g_seen.calls == 1, "the refused call reached the platform once");
    Check(r == false, "a refused SetFileTime gives false (got " + Shown(r) + ")");

    r = SetFileDateAtr(d, id, plain, {{}, dm, {}, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE});
    Check(r == false, "refused with Attributes given: false (got " + Shown(r) + ")");
    Check(GetFileAttributesW(plain.c_str()) == FILE_ATTRIBUTE_ARCHIVE,
          "the new attributes were not applied (attributes " + std::to_string(GetFileAttributesW(plain.c_str())) + ")");

    r = SetFileDateAtr(d, id, readOnly, {{}, dm, {}, 0});
    Check(r == false, "refused on a read-only file: false (got " + Shown(r) + ")");
    Check(GetFileAttributesW(readOnly.c_str()) == (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
          "the read-only file keeps the attributes read first (attributes " +
              std::to_string(GetFileAttributesW(readOnly.c_str())) + ")");

    g_refuse = false;
    r = SetFileDateAtr(d, id, readOnly, {{}, dm, {}, FILE_ATTRIBUTE_ARCHIVE});
    Check(r == true, "accepted again: true (got " + Shown(r) + ")");
    Check(GetFileAttributesW(readOnly.c_str()) == FILE_ATTRIBUTE_ARCHIVE, "and the new attributes are applied");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv) || argc < 3) return 2;
    const std::wstring dir = argv[2];
    CoInitialize(nullptr);
    IDispatch* d = CreateHelper();
    Check(d != nullptr, "CoCreateInstance of Ombrisk.Helper");
    if (d) {
        void* original = nullptr;
        const bool patched = PatchImport(GetModuleHandleW(L"Ombrisk.dll"), "kernel32.dll", "SetFileTime",
                                         reinterpret_cast<void*>(&RecordingSetFileTime), &original);
        Check(patched && original, "the library's SetFileTime import now reaches the recorder");
        if (patched && original) {
            g_real = reinterpret_cast<SetFileTimeFn>(original);
            const DISPID id = IdOf(d, L"SetFileDateAtr");
            SlotChecks(d, id, dir);
            RefusalChecks(d, id, dir);
            PatchImport(GetModuleHandleW(L"Ombrisk.dll"), "kernel32.dll", "SetFileTime", original, &original);
        }
        d->Release();
    }
    CoUninitialize();
    return FinishReport();
}
