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
// readyFile is deleted again once the clipboard or file has been let go. Waits for goFile end
// after 30 s. Exit code 0 on success; 2 for bad arguments, 3 when the
// clipboard or the file cannot be had.
#include "util/Raii.h"

#include <windows.h>

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 5 && std::wcscmp(argv[1], L"cliphold") == 0) return ClipHold(argv[2], argv[3], _wtoi(argv[4]));
    if (argc == 3 && std::wcscmp(argv[1], L"clipraw") == 0) return ClipRaw(argv[2]);
    if (argc == 5 && std::wcscmp(argv[1], L"lock") == 0) return Lock(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::wcscmp(argv[1], L"filetimes") == 0) return FileTimes(argv[2], argv[3]);
    if (argc == 3 && std::wcscmp(argv[1], L"creationkept") == 0) return CreationKept(argv[2]);
    return 2;
}
