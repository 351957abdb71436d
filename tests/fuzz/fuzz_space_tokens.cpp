// ExpandSpaceTokens on arbitrary key strings: it must end, every pass must remove a "{" when it
// changes anything, and no pass may grow the text by more than four replacements can.
#include <algorithm>

#include "core/SpaceTokens.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

namespace {

size_t Braces(const std::u16string& s) { return size_t(std::count(s.begin(), s.end(), u'{')); }

// The largest growth of one replacement: "{sp 99}" (7 units) becomes 99 spaces.
constexpr size_t kMaxGrowth = 99 - 7;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string input = fuzz::Text(data, size);

    std::u16string expanded = input;
    const SpaceTokenStatus status = ExpandSpaceTokens(expanded);
    FUZZ_CHECK(expanded.size() <= input.size() + kMaxGrowth * Braces(input));
    FUZZ_CHECK(Braces(expanded) <= Braces(input));

    // The passes on their own, from the raw input.
    std::u16string keys = input;
    SpaceTokenStatus passStatus = SpaceTokenStatus::Ok;
    size_t passes = 0;
    const size_t maxPasses = Braces(input);
    for (;;) {
        const std::u16string before = keys;
        const size_t bracesBefore = Braces(keys);
        const bool changed = SpaceTokenPass(keys, passStatus);
        if (passStatus != SpaceTokenStatus::Ok) break;
        FUZZ_CHECK(keys.size() <= before.size() + 4 * kMaxGrowth);
        if (!changed) {
            FUZZ_CHECK(keys == before);
            break;
        }
        FUZZ_CHECK(Braces(keys) < bracesBefore && Braces(keys) + 4 >= bracesBefore);
        FUZZ_CHECK(++passes <= maxPasses);
    }
    // A count can only read negative from a minus sign in the text.
    FUZZ_CHECK(status == SpaceTokenStatus::Ok || input.find(u'-') != std::u16string::npos);
    FUZZ_CHECK(passStatus == SpaceTokenStatus::Ok || input.find(u'-') != std::u16string::npos);
    return 0;
}
