#include "standin_config.h"

#include "standin_handle.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

// Reads the whole file; a writer that holds it exclusively is waited for briefly.
std::optional<std::string> read_file(const std::wstring& path) {
    unique_handle h;
    for (int attempt = 0; attempt < 100 && !h; ++attempt) {
        h.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h && GetLastError() != ERROR_SHARING_VIOLATION) return std::nullopt;
        if (!h) Sleep(10);
    }
    if (!h) return std::nullopt;
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h.get(), buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
    return data;
}

std::wstring_view trim_spaces(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool Config::refresh() {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &info)) return false;
    const ULONGLONG size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (loaded_ && size == size_ && CompareFileTime(&info.ftLastWriteTime, &stamp_) == 0) return true;

    const std::optional<std::string> bytes = read_file(path_);
    if (!bytes) return false;
    std::map<std::wstring, std::wstring, std::less<>> values;
    const std::wstring text = decode_text_file(*bytes);
    std::wstring_view rest(text);
    while (!rest.empty()) {
        const std::size_t eol = rest.find(L'\n');
        std::wstring_view line = rest.substr(0, eol);
        rest = (eol == std::wstring_view::npos) ? std::wstring_view{} : rest.substr(eol + 1);
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        const std::size_t eq = line.find(L'=');
        if (eq == std::wstring_view::npos || line.starts_with(L"#")) continue;
        // The value keeps its spaces: a caption or an answer may begin or end with one.
        values.insert_or_assign(std::wstring(trim_spaces(line.substr(0, eq))), std::wstring(line.substr(eq + 1)));
    }
    values_ = std::move(values);
    stamp_ = info.ftLastWriteTime;
    size_ = size;
    loaded_ = true;
    return true;
}

std::optional<std::wstring> Config::get(std::wstring_view key) const {
    const auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::wstring Config::text(std::wstring_view key, std::wstring_view fallback) const {
    const auto v = get(key);
    return v ? *v : std::wstring(fallback);
}

long Config::number(std::wstring_view key, long fallback) const {
    const auto v = get(key);
    long n = fallback;
    if (v && parse_long(trim_spaces(*v), n)) return n;
    return fallback;
}

}  // namespace ombrisk::standin
