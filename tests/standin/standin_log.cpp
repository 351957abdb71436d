#include "standin_log.h"

#include <windows.h>

#include "standin_handle.h"

namespace ombrisk::standin {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A script reading the log may hold it without write sharing; such an open is retried.
unique_handle open_retrying(const std::wstring& path, DWORD access, DWORD disposition) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        unique_handle h(CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (h) return h;
        const DWORD err = GetLastError();
        if (err != ERROR_SHARING_VIOLATION && err != ERROR_ACCESS_DENIED && err != ERROR_LOCK_VIOLATION) break;
        Sleep(10);
    }
    return {};
}

}  // namespace

bool Log::truncate() const { return static_cast<bool>(open_retrying(path_, GENERIC_WRITE, CREATE_ALWAYS)); }

bool Log::line(std::string_view text) const {
    unique_handle h = open_retrying(path_, FILE_APPEND_DATA, OPEN_ALWAYS);
    if (!h) return false;
    std::string buf(text);
    buf += "\r\n";
    // UNEXPECTED lines also go to "<log>.unexpected", which a test that empties its log cannot
    // lose: the harness fails the script on any of them.
    if (text.substr(0, 10) == "UNEXPECTED") {
        if (unique_handle u = open_retrying(path_ + L".unexpected", FILE_APPEND_DATA, OPEN_ALWAYS)) {
            DWORD n = 0;
            WriteFile(u.get(), buf.data(), static_cast<DWORD>(buf.size()), &n, nullptr);
        }
    }
    DWORD written = 0;
    // One WriteFile per line, so a reader never sees half a line followed by another event.
    return WriteFile(h.get(), buf.data(), static_cast<DWORD>(buf.size()), &written, nullptr) && written == buf.size();
}

}  // namespace ombrisk::standin
