// Test helper of the utility scripts: another program that holds what the library needs.
//   utiltool cliphold <readyFile> <goFile> <msAfterGo>
//     opens the clipboard, creates readyFile, waits until goFile exists, waits msAfterGo more
//     milliseconds and closes the clipboard again.
//   utiltool clipraw <hex>
//     puts a CF_UNICODETEXT block holding exactly the given bytes on the clipboard.
//   utiltool lock <file> <readyFile> <goFile>
//     opens file without sharing it (every other open fails), creates readyFile and keeps the
//     file open until goFile exists.
//   utiltool filetimes <file> <outFile>
//     writes one line to outFile: the file's creation, last-write and last-access times as local
//     "yyyy-mm-dd hh:nn:ss" and its attributes in decimal, separated by "|".
//   utiltool creationkept <file>
//     sets file's creation time to 2 January 2001 and exits 0 when it reads back so (Wine on
//     Linux cannot store creation times), 1 when not.
//   utiltool procstats <pid> <outFile>
//     writes one line about process pid (0: the process that started this tool, normally the
//     script host) to outFile: "pid=N name=X private=B working=B gdi=N user=N handles=N windows=N
//     classes=A|B".
//     A figure the platform does not give is -1; windows counts the process's top-level and
//     message-only windows (classes: their class names), which another process can see even
//     where the platform gives no USER count.
//   utiltool clipopen
//     opens the clipboard, with a window of its own as owner, and closes it again: exit code 0
//     when that worked within half a second, 3 when another program kept it open all the time.
//   utiltool clipwatch <stopFile> <outFile>
//     opens and closes the clipboard that way every millisecond or so until stopFile exists, then
//     writes "opens=N refusals=N longest_ms=N" to outFile: the longest stretch of time in which
//     every attempt was refused tells whether some program left the clipboard open.
//   utiltool clipput <item>...
//     replaces the clipboard's content with the items, in the order given, a window of its own
//     as owner:
//       text=<s>            CF_UNICODETEXT          ansi=<s>           CF_TEXT
//       hdrop=<p1>|<p2>...  CF_HDROP (wide names)   dib=<w>x<h>        CF_DIB, 32 bits, a pattern
//       bitmap=<w>x<h>      CF_BITMAP only, a pattern   emf=<n>        CF_ENHMETAFILE, n rectangles
//       private=<name>:<n>  registered format name, n bytes of a pattern
//       delayed=<name>:<n>  the same, rendered only when asked for (clipserve)
//   utiltool clipserve <readyFile> <goFile> <item>...
//     the same, then stays the clipboard's owner, rendering delayed items when asked, until
//     goFile exists; each rendering is counted in readyFile.rendered ("rendered=N").
//   utiltool clipdump <outFile>
//     writes one line per clipboard format, in the clipboard's order, to outFile:
//     "<number> <name> <content>", content being "bytes=N fnv=X" for memory, "bitmap=WxH fnv=X"
//     (its pixels at 32 bits), "emf=N fnv=X", "wmf mm=M x=X y=Y bytes=N fnv=X",
//     "palette=N fnv=X", or "none" when GetClipboardData gives nothing.
//   utiltool winstate <outFile>
//     writes "found=0|1 topmost=0|1 props=<names>" about the top-level "TTOTAL_CMD" window to
//     outFile; props lists the window's property names, separated by "|".
//   utiltool regset <key> <name> <type> <hex>
//     stores the bytes given in hex ("-": none) with the numeric value type under key
//     ("HKCU\..." or "HKLM\...", created when missing); name "@" is the key's default value.
//   utiltool regget <key> <name> <outFile>
//     writes "type=N bytes=HEX" (the value exactly as stored) or "missing" to outFile.
// readyFile is deleted again once the clipboard or file has been let go. Waits for goFile end
// after 30 s. Exit code 0 on success; 2 for bad arguments, 3 when the
// clipboard or the file cannot be had.
#include "platform/Raii.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <shlobj.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace ombrisk;

bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool OpenSoon(std::optional<ClipboardOpen>& guard, HWND owner = nullptr) {
    for (int i = 0; i < 500; ++i) {
        guard.emplace(owner);
        if (guard->opened()) return true;
        guard.reset();
        Sleep(10);
    }
    return false;
}

bool SignalReady(const wchar_t* readyFile) {
    UniqueFile ready(CreateFileW(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return static_cast<bool>(ready);
}

void WaitForGo(const wchar_t* goFile) {
    const DWORD start = GetTickCount();
    while (!Exists(goFile) && GetTickCount() - start < 30000) Sleep(1);
}

int ClipHold(const wchar_t* readyFile, const wchar_t* goFile, int msAfterGo) {
    // Opened with a window of its own: Wine lets a second opener through when both name the
    // same window, null included, whichever thread holds the clipboard.
    UniqueWindow window(CreateWindowExW(0, L"STATIC", L"utiltool", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    if (!window) return 3;
    std::optional<ClipboardOpen> clipboard;
    if (!OpenSoon(clipboard, window.get())) return 3;
    if (!SignalReady(readyFile)) return 3;
    WaitForGo(goFile);
    Sleep(static_cast<DWORD>(msAfterGo));
    clipboard.reset();
    DeleteFileW(readyFile);
    return 0;
}

int Lock(const wchar_t* file, const wchar_t* readyFile, const wchar_t* goFile) {
    UniqueFile locked(CreateFileW(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!locked) return 3;
    if (!SignalReady(readyFile)) return 3;
    WaitForGo(goFile);
    locked.reset();
    DeleteFileW(readyFile);
    return 0;
}

int ClipRaw(const wchar_t* hex) {
    std::vector<unsigned char> bytes;
    const size_t n = std::wcslen(hex);
    if (n == 0 || n % 2) return 2;
    for (size_t i = 0; i < n; i += 2) {
        const wchar_t pair[3] = {hex[i], hex[i + 1], 0};
        bytes.push_back(static_cast<unsigned char>(std::wcstoul(pair, nullptr, 16)));
    }
    std::optional<ClipboardOpen> clipboard;
    if (!OpenSoon(clipboard)) return 3;
    EmptyClipboard();
    UniqueHglobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!block) return 3;
    {
        GlobalLockGuard lock(block.get());
        if (!lock.get()) return 3;
        std::memcpy(lock.get(), bytes.data(), bytes.size());
    }
    if (!SetClipboardData(CF_UNICODETEXT, block.get())) return 3;
    block.release();
    return 0;
}

std::string LocalText(const FILETIME& utc) {
    FILETIME local = {};
    SYSTEMTIME st = {};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return "?";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                  st.wSecond);
    return text;
}

int FileTimes(const wchar_t* path, const wchar_t* outFile) {
    FILETIME created = {}, accessed = {}, written = {};
    {
        UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file || !GetFileTime(file.get(), &created, &accessed, &written)) return 3;
    }
    const std::string line = LocalText(created) + "|" + LocalText(written) + "|" + LocalText(accessed) + "|" +
                             std::to_string(GetFileAttributesW(path));
    UniqueFile out(CreateFileW(outFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD done = 0;
    if (!out || !WriteFile(out.get(), line.data(), static_cast<DWORD>(line.size()), &done, nullptr)) return 3;
    return 0;
}

int CreationKept(const wchar_t* path) {
    UniqueFile file(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return 3;
    const SYSTEMTIME st = {2001, 1, 0, 2, 3, 4, 5, 0};
    FILETIME wanted = {}, got = {}, accessed = {}, written = {};
    if (!SystemTimeToFileTime(&st, &wanted) || !SetFileTime(file.get(), &wanted, nullptr, nullptr)) return 3;
    if (!GetFileTime(file.get(), &got, &accessed, &written)) return 3;
    return CompareFileTime(&wanted, &got) == 0 ? 0 : 1;
}

bool WriteLine(const wchar_t* outFile, const std::string& line) {
    UniqueFile out(CreateFileW(outFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD done = 0;
    return out && WriteFile(out.get(), line.data(), static_cast<DWORD>(line.size()), &done, nullptr);
}

// The parent of this process and the executable names by process id, from a process snapshot.
DWORD ParentProcessId(std::wstring& parentName) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    DWORD parent = 0;
    std::vector<std::pair<DWORD, std::wstring>> names;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
        names.emplace_back(entry.th32ProcessID, entry.szExeFile);
    }
    for (const auto& [pid, name] : names)
        if (pid == parent && parent != 0) parentName = name;
    return parent;
}

struct WindowCount {
    DWORD pid;
    long count;
    std::string classes;  // their class names, separated by "|"
};

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM lParam) {
    auto& c = *reinterpret_cast<WindowCount*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != c.pid) return TRUE;
    ++c.count;
    char name[128] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    if (!c.classes.empty()) c.classes.push_back('|');
    for (const char* p = name; *p; ++p) c.classes.push_back(*p == ' ' ? '_' : *p);
    return TRUE;
}

WindowCount WindowsOf(DWORD pid) {
    WindowCount c{pid, 0, {}};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&c));
    for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
         h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr))
        CountWindow(h, reinterpret_cast<LPARAM>(&c));
    return c;
}

std::string Narrow(const std::wstring& s) {
    std::string r;
    for (wchar_t c : s) r.push_back(c > 0x20 && c < 0x7F ? static_cast<char>(c) : '_');
    return r;
}

// Handles of process pid in the system's handle table (NtQuerySystemInformation class 16), for
// where GetProcessHandleCount gives nothing; -1 when that is not available either.
long SystemHandleCount(DWORD pid) {
    struct Entry {
        ULONG ProcessId;
        UCHAR ObjectTypeNumber;
        UCHAR Flags;
        USHORT Handle;
        PVOID Object;
        ACCESS_MASK GrantedAccess;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto query = ntdll ? reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")))
                       : nullptr;
    if (!query) return -1;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
            const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
            long n = 0;
            for (ULONG i = 0; i < count; ++i)
                if (entries[i].ProcessId == pid) ++n;
            return n;
        }
        if (status != static_cast<LONG>(0xC0000004)) return -1;  // other than STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    }
    return -1;
}

int ProcStats(DWORD pid, const wchar_t* outFile) {
    std::wstring name;
    if (pid == 0) pid = ParentProcessId(name);
    if (pid == 0) return 3;
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return 3;
    long long privateBytes = -1, working = -1;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters))) {
        privateBytes = static_cast<long long>(counters.PrivateUsage);
        working = static_cast<long long>(counters.WorkingSetSize);
    }
    // GetGuiResources gives 0 with ERROR_CALL_NOT_IMPLEMENTED where it is only a stub (Wine).
    SetLastError(0);
    long gdi = static_cast<long>(GetGuiResources(process.get(), GR_GDIOBJECTS));
    if (gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) gdi = -1;
    SetLastError(0);
    long user = static_cast<long>(GetGuiResources(process.get(), GR_USEROBJECTS));
    if (user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) user = -1;
    DWORD handles = 0;
    long handleCount = GetProcessHandleCount(process.get(), &handles) ? static_cast<long>(handles) : -1;
    if (handleCount <= 0) handleCount = SystemHandleCount(pid);
    // Wine leaves PrivateUsage 0 for another process; the commit charge it reports is the same figure.
    if (privateBytes == 0) privateBytes = static_cast<long long>(counters.PagefileUsage);
    std::string line = "pid=" + std::to_string(pid) + " name=" + (name.empty() ? "?" : Narrow(name)) +
                       " private=" + std::to_string(privateBytes) + " working=" + std::to_string(working) +
                       " gdi=" + std::to_string(gdi) + " user=" + std::to_string(user) +
                       " handles=" + std::to_string(handleCount);
    const WindowCount windows = WindowsOf(pid);
    line += " windows=" + std::to_string(windows.count) + " classes=" + windows.classes;
    return WriteLine(outFile, line) ? 0 : 3;
}

// A window of this process to own the clipboard: Wine lets a second opener through when both
// name the same window (null included), so only an owner of our own tells whether another
// program holds the clipboard.
UniqueWindow OwnerWindow() {
    return UniqueWindow(CreateWindowExW(0, L"STATIC", L"utiltool", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
}

int ClipOpen() {
    UniqueWindow window = OwnerWindow();
    if (!window) return 2;
    // Tried for half a second: another program that opens it for a moment (a watcher) lets go
    // again at once; only one that keeps it open refuses every attempt.
    const ULONGLONG start = GetTickCount64();
    do {
        std::optional<ClipboardOpen> clipboard;
        clipboard.emplace(window.get());
        if (clipboard->opened()) return 0;
        Sleep(1);
    } while (GetTickCount64() - start < 500);
    return 3;
}

int ClipWatch(const wchar_t* stopFile, const wchar_t* outFile) {
    UniqueWindow window = OwnerWindow();
    if (!window) return 2;
    long opens = 0, refusals = 0;
    ULONGLONG refusedSince = 0, longest = 0;
    const ULONGLONG start = GetTickCount64();
    while (!Exists(stopFile) && GetTickCount64() - start < 600000) {
        bool opened = false;
        {
            std::optional<ClipboardOpen> clipboard;
            clipboard.emplace(window.get());
            opened = clipboard->opened();
        }
        const ULONGLONG now = GetTickCount64();
        if (opened) {
            ++opens;
            refusedSince = 0;
        } else {
            ++refusals;
            if (!refusedSince) refusedSince = now;
            if (now - refusedSince > longest) longest = now - refusedSince;
        }
        Sleep(1);
    }
    return WriteLine(outFile, "opens=" + std::to_string(opens) + " refusals=" + std::to_string(refusals) +
                                  " longest_ms=" + std::to_string(longest))
               ? 0
               : 3;
}

// ---- clipboard contents for the borrowing tests ----

uint64_t Fnv(const void* data, size_t n, uint64_t h = 1469598103934665603ull) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

std::string Hex64(uint64_t v) {
    char b[24];
    std::snprintf(b, sizeof b, "%016llx", static_cast<unsigned long long>(v));
    return b;
}

std::vector<unsigned char> Pattern(size_t n, unsigned seed) {
    std::vector<unsigned char> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(i * 31 + seed * 7 + (i >> 8));
    return bytes;
}

UniqueHglobal BlockOf(const void* data, size_t n) {
    UniqueHglobal block(GlobalAlloc(GMEM_MOVEABLE, n));
    if (!block) return block;
    GlobalLockGuard lock(block.get());
    if (!lock.get()) return UniqueHglobal();
    std::memcpy(lock.get(), data, n);
    return block;
}

bool ParseSize(const std::wstring& v, long& w, long& h) {
    return swscanf(v.c_str(), L"%ldx%ld", &w, &h) == 2 && w > 0 && h > 0;
}

// The delayed items of clipserve: format number and byte count.
std::vector<std::pair<UINT, size_t>> g_delayed;
long g_rendered = 0;

bool RenderDelayed(UINT format) {
    for (const auto& [f, n] : g_delayed) {
        if (f != format) continue;
        const std::vector<unsigned char> bytes = Pattern(n, f);
        UniqueHglobal block = BlockOf(bytes.data(), bytes.size());
        if (block && SetClipboardData(f, block.get())) block.release();
        ++g_rendered;
        return true;
    }
    return false;
}

LRESULT CALLBACK ClipOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RENDERFORMAT) {
        RenderDelayed(static_cast<UINT>(wParam));
        return 0;
    }
    if (msg == WM_RENDERALLFORMATS) {
        if (OpenClipboard(hwnd)) {
            if (GetClipboardOwner() == hwnd)
                for (const auto& d : g_delayed) RenderDelayed(d.first);
            CloseClipboard();
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

UniqueWindow ClipOwnerWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ClipOwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"UtiltoolClipOwner";
    RegisterClassW(&wc);
    return UniqueWindow(
        CreateWindowExW(0, wc.lpszClassName, L"utiltool", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
}

// Puts one item on the open clipboard; false for a bad item or a failure.
bool PutItem(const std::wstring& item) {
    const size_t eq = item.find(L'=');
    if (eq == std::wstring::npos) return false;
    const std::wstring kind = item.substr(0, eq), value = item.substr(eq + 1);
    UniqueHglobal block;
    UINT format = 0;
    if (kind == L"text" || kind == L"ansi") {
        if (kind == L"text") {
            format = CF_UNICODETEXT;
            block = BlockOf(value.c_str(), (value.size() + 1) * sizeof(wchar_t));
        } else {
            format = CF_TEXT;
            std::string narrow;
            for (wchar_t c : value) narrow.push_back(static_cast<char>(c));
            block = BlockOf(narrow.c_str(), narrow.size() + 1);
        }
    } else if (kind == L"hdrop") {
        std::wstring names = value;
        std::replace(names.begin(), names.end(), L'|', L'\0');
        names.append(2, L'\0');
        std::vector<unsigned char> bytes(sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
        DROPFILES header{};
        header.pFiles = sizeof(DROPFILES);
        header.fWide = TRUE;
        std::memcpy(bytes.data(), &header, sizeof header);
        std::memcpy(bytes.data() + sizeof header, names.data(), names.size() * sizeof(wchar_t));
        format = CF_HDROP;
        block = BlockOf(bytes.data(), bytes.size());
    } else if (kind == L"dib" || kind == L"bitmap") {
        long w = 0, h = 0;
        if (!ParseSize(value, w, h)) return false;
        const std::vector<unsigned char> pixels = Pattern(static_cast<size_t>(w) * h * 4, 3);
        if (kind == L"bitmap") {
            UniqueGdiObject bitmap(CreateBitmap(w, h, 1, 32, pixels.data()));
            if (!bitmap || !SetClipboardData(CF_BITMAP, bitmap.get())) return false;
            bitmap.release();
            return true;
        }
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = w;
        info.biHeight = h;
        info.biPlanes = 1;
        info.biBitCount = 32;
        info.biCompression = BI_RGB;
        info.biSizeImage = static_cast<DWORD>(pixels.size());
        std::vector<unsigned char> bytes(sizeof info + pixels.size());
        std::memcpy(bytes.data(), &info, sizeof info);
        std::memcpy(bytes.data() + sizeof info, pixels.data(), pixels.size());
        format = CF_DIB;
        block = BlockOf(bytes.data(), bytes.size());
    } else if (kind == L"emf") {
        const int n = _wtoi(value.c_str());
        HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
        if (!dc) return false;
        for (int i = 0; i < n; ++i) Rectangle(dc, i, 2 * i, 10 + 3 * i, 20 + i);
        UniqueEnhMetafile emf(CloseEnhMetaFile(dc));
        if (!emf || !SetClipboardData(CF_ENHMETAFILE, emf.get())) return false;
        emf.release();
        return true;
    } else if (kind == L"private" || kind == L"delayed") {
        const size_t colon = value.rfind(L':');
        if (colon == std::wstring::npos) return false;
        format = RegisterClipboardFormatW(value.substr(0, colon).c_str());
        const size_t n = static_cast<size_t>(_wtoi(value.c_str() + colon + 1));
        if (!format || n == 0) return false;
        if (kind == L"delayed") {
            g_delayed.emplace_back(format, n);
            SetClipboardData(format, nullptr);
            return true;
        }
        const std::vector<unsigned char> bytes = Pattern(n, format);
        block = BlockOf(bytes.data(), bytes.size());
    } else {
        return false;
    }
    if (!block || !SetClipboardData(format, block.get())) return false;
    block.release();
    return true;
}

bool PutItems(HWND owner, int count, wchar_t** items) {
    std::optional<ClipboardOpen> clipboard;
    if (!OpenSoon(clipboard, owner)) return false;
    if (!EmptyClipboard()) return false;
    for (int i = 0; i < count; ++i)
        if (!PutItem(items[i])) return false;
    return true;
}

int ClipPut(int count, wchar_t** items) {
    UniqueWindow window = ClipOwnerWindow();
    if (!window) return 2;
    return PutItems(window.get(), count, items) ? 0 : 3;
}

int ClipServe(const wchar_t* readyFile, const wchar_t* goFile, int count, wchar_t** items) {
    UniqueWindow window = ClipOwnerWindow();
    if (!window) return 2;
    if (!PutItems(window.get(), count, items)) return 3;
    if (!SignalReady(readyFile)) return 3;
    const std::wstring renderedFile = std::wstring(readyFile) + L".rendered";
    const ULONGLONG start = GetTickCount64();
    long written = -1;
    while (!Exists(goFile) && GetTickCount64() - start < 60000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (written != g_rendered) {
            written = g_rendered;
            WriteLine(renderedFile.c_str(), "rendered=" + std::to_string(written));
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    window.reset();
    DeleteFileW(readyFile);
    return 0;
}

std::string FormatName(UINT f) {
    static const char* const kNames[] = {"",           "CF_TEXT",   "CF_BITMAP",  "CF_METAFILEPICT", "CF_SYLK",
                                         "CF_DIF",     "CF_TIFF",   "CF_OEMTEXT", "CF_DIB",          "CF_PALETTE",
                                         "CF_PENDATA", "CF_RIFF",   "CF_WAVE",    "CF_UNICODETEXT",  "CF_ENHMETAFILE",
                                         "CF_HDROP",   "CF_LOCALE", "CF_DIBV5"};
    if (f < sizeof(kNames) / sizeof(kNames[0])) return kNames[f];
    wchar_t name[256] = {};
    if (GetClipboardFormatNameW(f, name, 256) > 0) return "'" + Narrow(name) + "'";
    return "#" + std::to_string(f);
}

std::string BitmapContent(HBITMAP bitmap) {
    BITMAP bm{};
    if (!GetObjectW(bitmap, sizeof bm, &bm)) return "bitmap=?";
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 4);
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return "bitmap=" + std::to_string(bm.bmWidth) + "x" + std::to_string(bm.bmHeight) + " rows=" + std::to_string(rows) +
           " fnv=" + Hex64(Fnv(pixels.data(), pixels.size()));
}

std::string Content(UINT f, HANDLE data) {
    if (!data) return "none";
    if (f == CF_BITMAP) return BitmapContent(static_cast<HBITMAP>(data));
    if (f == CF_ENHMETAFILE) {
        auto emf = static_cast<HENHMETAFILE>(data);
        std::vector<unsigned char> bits(GetEnhMetaFileBits(emf, 0, nullptr));
        GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
        return "emf=" + std::to_string(bits.size()) + " fnv=" + Hex64(Fnv(bits.data(), bits.size()));
    }
    if (f == CF_PALETTE) {
        auto palette = static_cast<HPALETTE>(data);
        WORD count = 0;
        GetObjectW(palette, sizeof count, &count);
        std::vector<PALETTEENTRY> entries(count);
        GetPaletteEntries(palette, 0, count, entries.data());
        return "palette=" + std::to_string(count) +
               " fnv=" + Hex64(Fnv(entries.data(), entries.size() * sizeof(PALETTEENTRY)));
    }
    GlobalLockGuard lock(data);
    if (!lock.get()) return "unlockable";
    const size_t size = GlobalSize(data);
    if (f == CF_METAFILEPICT && size >= sizeof(METAFILEPICT)) {
        const auto* picture = static_cast<const METAFILEPICT*>(lock.get());
        std::vector<unsigned char> bits(GetMetaFileBitsEx(picture->hMF, 0, nullptr));
        GetMetaFileBitsEx(picture->hMF, static_cast<UINT>(bits.size()), bits.data());
        return "wmf mm=" + std::to_string(picture->mm) + " x=" + std::to_string(picture->xExt) +
               " y=" + std::to_string(picture->yExt) + " bytes=" + std::to_string(bits.size()) +
               " fnv=" + Hex64(Fnv(bits.data(), bits.size()));
    }
    return "bytes=" + std::to_string(size) + " fnv=" + Hex64(Fnv(lock.get(), size));
}

int ClipDump(const wchar_t* outFile) {
    UniqueWindow window = OwnerWindow();
    if (!window) return 2;
    std::optional<ClipboardOpen> clipboard;
    if (!OpenSoon(clipboard, window.get())) return 3;
    std::string text;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        text += std::to_string(f) + " " + FormatName(f) + " " + Content(f, GetClipboardData(f)) + "\r\n";
    clipboard.reset();
    return WriteLine(outFile, text) ? 0 : 3;
}

BOOL CALLBACK CollectProp(HWND, LPWSTR name, HANDLE, ULONG_PTR lParam) {
    auto& names = *reinterpret_cast<std::string*>(lParam);
    if (!names.empty()) names.push_back('|');
    // An atom without a name arrives as a number below 0x10000.
    if (reinterpret_cast<ULONG_PTR>(name) < 0x10000) {
        names.push_back('#');
        names.append(std::to_string(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        for (const wchar_t* p = name; *p; ++p) names.push_back(*p == L' ' ? '_' : static_cast<char>(*p < 0x80 ? *p : '?'));
    }
    return TRUE;
}

int WinState(const wchar_t* outFile) {
    HWND host = FindWindowW(L"TTOTAL_CMD", nullptr);
    std::string props;
    if (host) EnumPropsExW(host, CollectProp, reinterpret_cast<LPARAM>(&props));
    const bool topmost = host && (GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_TOPMOST);
    return WriteLine(outFile,
                     std::string("found=") + (host ? "1" : "0") + " topmost=" + (topmost ? "1" : "0") + " props=" + props)
               ? 0
               : 3;
}

// "HKCU\path" or "HKLM\path" split into root and path; false for any other root.
bool SplitKey(const wchar_t* key, HKEY& root, std::wstring& path) {
    const std::wstring text = key;
    const size_t slash = text.find(L'\\');
    const std::wstring head = text.substr(0, slash);
    if (_wcsicmp(head.c_str(), L"HKCU") == 0) root = HKEY_CURRENT_USER;
    else if (_wcsicmp(head.c_str(), L"HKLM") == 0) root = HKEY_LOCAL_MACHINE;
    else return false;
    path = slash == std::wstring::npos ? std::wstring() : text.substr(slash + 1);
    return true;
}

const wchar_t* ValueName(const wchar_t* name) { return std::wcscmp(name, L"@") == 0 ? L"" : name; }

int RegSet(const wchar_t* key, const wchar_t* name, const wchar_t* type, const wchar_t* hex) {
    HKEY root = nullptr;
    std::wstring path;
    if (!SplitKey(key, root, path)) return 2;
    std::vector<BYTE> bytes;
    if (std::wcscmp(hex, L"-") != 0) {
        const size_t n = std::wcslen(hex);
        if (n % 2) return 2;
        for (size_t i = 0; i < n; i += 2) {
            const wchar_t pair[3] = {hex[i], hex[i + 1], 0};
            bytes.push_back(static_cast<BYTE>(std::wcstoul(pair, nullptr, 16)));
        }
    }
    // A non-NUL sentinel after the bytes: the platform would store a NUL found just past a string
    // that lacks its own.
    const DWORD size = static_cast<DWORD>(bytes.size());
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF});
    UniqueHkey k;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(), nullptr) != ERROR_SUCCESS)
        return 3;
    const LONG rc = RegSetValueExW(k.get(), ValueName(name), 0, static_cast<DWORD>(_wtoi(type)), bytes.data(), size);
    return rc == ERROR_SUCCESS ? 0 : 3;
}

int RegGet(const wchar_t* key, const wchar_t* name, const wchar_t* outFile) {
    HKEY root = nullptr;
    std::wstring path;
    if (!SplitKey(key, root, path)) return 2;
    std::string line = "missing";
    UniqueHkey k;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, k.put()) == ERROR_SUCCESS) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(k.get(), ValueName(name), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<BYTE> data(size + 1);
            if (RegQueryValueExW(k.get(), ValueName(name), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return 3;
            line = "type=" + std::to_string(type) + " bytes=";
            for (DWORD i = 0; i < size; ++i) {
                char pair[3];
                std::snprintf(pair, sizeof pair, "%02X", data[i]);
                line += pair;
            }
        }
    }
    return WriteLine(outFile, line) ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 5 && std::wcscmp(argv[1], L"cliphold") == 0) return ClipHold(argv[2], argv[3], _wtoi(argv[4]));
    if (argc == 3 && std::wcscmp(argv[1], L"clipraw") == 0) return ClipRaw(argv[2]);
    if (argc == 5 && std::wcscmp(argv[1], L"lock") == 0) return Lock(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::wcscmp(argv[1], L"filetimes") == 0) return FileTimes(argv[2], argv[3]);
    if (argc == 3 && std::wcscmp(argv[1], L"creationkept") == 0) return CreationKept(argv[2]);
    if (argc == 4 && std::wcscmp(argv[1], L"procstats") == 0) return ProcStats(static_cast<DWORD>(_wtoi(argv[2])), argv[3]);
    if (argc == 2 && std::wcscmp(argv[1], L"clipopen") == 0) return ClipOpen();
    if (argc == 4 && std::wcscmp(argv[1], L"clipwatch") == 0) return ClipWatch(argv[2], argv[3]);
    if (argc == 3 && std::wcscmp(argv[1], L"winstate") == 0) return WinState(argv[2]);
    if (argc == 6 && std::wcscmp(argv[1], L"regset") == 0) return RegSet(argv[2], argv[3], argv[4], argv[5]);
    if (argc == 5 && std::wcscmp(argv[1], L"regget") == 0) return RegGet(argv[2], argv[3], argv[4]);
    if (argc >= 3 && std::wcscmp(argv[1], L"clipput") == 0) return ClipPut(argc - 2, argv + 2);
    if (argc >= 5 && std::wcscmp(argv[1], L"clipserve") == 0) return ClipServe(argv[2], argv[3], argc - 4, argv + 4);
    if (argc == 3 && std::wcscmp(argv[1], L"clipdump") == 0) return ClipDump(argv[2]);
    return 2;
}
