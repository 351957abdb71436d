// IsPercentTooltipText and ContainsNoCase on arbitrary window texts and class names.
#include <fuzzer/FuzzedDataProvider.h>

#include "tests/fuzz/FuzzSupport.h"
#include "core/PercentTooltip.h"

using namespace ombrisk;

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string needle = in.ConsumeRandomLengthString(64);
    const std::string haystack = in.ConsumeRemainingBytesAsString();

    FUZZ_CHECK(IsPercentTooltipText(haystack) == (haystack.size() >= 5 && haystack.size() <= 7 && haystack.ends_with(" %")));
    const bool expected = Lower(haystack).find(Lower(needle)) != std::string::npos;
    FUZZ_CHECK(ContainsNoCase(haystack, needle) == expected);
    return 0;
}
