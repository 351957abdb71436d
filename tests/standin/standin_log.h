// The stand-in's event log: one line per event, appended and closed at once so another
// process (the test script) sees every line as soon as the event has happened.
#pragma once
#include <string>
#include <string_view>

namespace ombrisk::standin {

class Log {
public:
    explicit Log(std::wstring path) : path_(std::move(path)) {}

    // Creates the file or empties it; false when it cannot be opened.
    bool truncate() const;

    // Appends text and CR LF. A file held open by a reader is retried for about 2 s;
    // after that the line is dropped and false returned. A line starting "UNEXPECTED" is also
    // appended to the file <path>.unexpected, which emptying the log leaves alone.
    bool line(std::string_view text) const;

    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace ombrisk::standin
