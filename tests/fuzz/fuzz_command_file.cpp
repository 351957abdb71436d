// ParseCommandFile and ReadCommandNumber on arbitrary command-definition files.
#include <algorithm>
#include <string>
#include <vector>

#include "core/CommandFile.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);

    const CommandEntryA sentinel{"sentinel", 7};
    std::vector<CommandEntryA> table{sentinel};
    const CommandFileStatus status = ParseCommandFile(file, table);

    const size_t definingLines = size_t(std::count(file.begin(), file.end(), '='));
    if (definingLines == 0) {
        FUZZ_CHECK(status == CommandFileStatus::Ok);
        FUZZ_CHECK(table.size() == 1 && table[0].name == sentinel.name && table[0].number == 7);
        return 0;
    }
    FUZZ_CHECK(table.size() <= definingLines);
    for (size_t i = 0; i < table.size(); ++i) {
        const CommandEntryA& e = table[i];
        // Only the last entry may hold 0, and only when the file ended on it.
        FUZZ_CHECK(e.number != 0 || (i + 1 == table.size() && status == CommandFileStatus::Ok));
        FUZZ_CHECK(e.name.empty() || (e.name.front() != ' ' && e.name.back() != ' '));
        FUZZ_CHECK(e.name.find('=') == std::string::npos && e.name.find('\r') == std::string::npos);
        FUZZ_CHECK(file.find(e.name) != std::string_view::npos);
    }

    // The parse by position, names collected, finds what the parse into strings finds.
    std::vector<CommandEntryA> fromEmpty;
    const CommandFileStatus emptyStatus = ParseCommandFile(file, fromEmpty);
    std::vector<CommandEntryAt> at;
    FUZZ_CHECK(ParseCommandFile(file, at) == emptyStatus);
    const std::string bytes = CollectCommandNames(file, at);
    FUZZ_CHECK(at.size() == fromEmpty.size());
    size_t end = 0;
    for (size_t i = 0; i < at.size() && i < fromEmpty.size(); ++i) {
        FUZZ_CHECK(at[i].offset == end && at[i].number == fromEmpty[i].number);
        FUZZ_CHECK(bytes.compare(at[i].offset, at[i].length, fromEmpty[i].name) == 0);
        end = at[i].offset + at[i].length;
    }
    FUZZ_CHECK(bytes.size() == end);

    int32_t value = 12345;
    if (ReadCommandNumber(file, value) == NumberStatus::Overflow) FUZZ_CHECK(value == 12345);
    return 0;
}
