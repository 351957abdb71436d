// CommandLineArguments and SwitchValue on arbitrary command lines.
#include "core/DiscoveryText.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte names the switch letter, the rest is the command line.
    const std::u16string key{char16_t(data[0]), u'='};
    const std::u16string line = fuzz::Text(data + 1, size - 1);

    const std::u16string_view args = CommandLineArguments(line);
    FUZZ_CHECK(args.data() + args.size() == line.data() + line.size());  // a suffix, in place
    FUZZ_CHECK(args.empty() || (args.front() != u' ' && args.front() != u'\t'));

    for (std::u16string_view text : {std::u16string_view(line), args}) {
        const std::u16string value = SwitchValue(text, key);
        FUZZ_CHECK(value.size() <= text.size());
        FUZZ_CHECK(value.empty() || (value.front() != u' ' && value.back() != u' '));
        FUZZ_CHECK(text.find(value) != std::u16string_view::npos);
        FUZZ_CHECK(value.size() < 1000 || value.find(u'"') == std::u16string::npos);
    }
    return 0;
}
