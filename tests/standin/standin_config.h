// The stand-in's configuration: "key=value" lines in a file that tests may rewrite while
// the host runs. Keys are matched exactly; the value is everything after the first "=".
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ombrisk::standin {

class Config {
public:
    explicit Config(std::wstring path) : path_(std::move(path)) {}

    // Re-reads the file when its last-write time or size changed since the last read.
    // A missing or unreadable file keeps the values read before; returns false then.
    bool refresh();

    std::optional<std::wstring> get(std::wstring_view key) const;
    std::wstring text(std::wstring_view key, std::wstring_view fallback) const;
    // A value that is not a decimal number counts as absent.
    long number(std::wstring_view key, long fallback) const;

    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    FILETIME stamp_{};
    ULONGLONG size_ = ~0ULL;
    bool loaded_ = false;
    std::map<std::wstring, std::wstring, std::less<>> values_;
};

}  // namespace ombrisk::standin
