// SplitListViews, ReplaceText and JoinListText on arbitrary texts, checked against each other.
#include <fuzzer/FuzzedDataProvider.h>

#include "tests/fuzz/FuzzSupport.h"
#include "core/StringLists.h"

using namespace ombrisk;

namespace {

std::u16string Join(const std::vector<std::u16string_view>& parts, std::u16string_view delimiter) {
    std::u16string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out.append(delimiter);
        out.append(parts[i]);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool drop = in.ConsumeBool();
    const std::u16string delimiter = fuzz::Text(in.ConsumeRandomLengthString(8));
    const std::u16string replacement = fuzz::Text(in.ConsumeRandomLengthString(8));
    const std::u16string text = fuzz::Text(in.ConsumeRemainingBytesAsString());

    const std::vector<std::u16string_view> parts = SplitListViews(text, delimiter, drop);
    FUZZ_CHECK(!parts.empty());
    if (delimiter.empty()) {
        FUZZ_CHECK(parts.size() == 1 && parts[0] == text);
    } else {
        for (const auto& p : parts) FUZZ_CHECK(p.find(delimiter) == std::u16string_view::npos);
        const std::u16string joined = Join(parts, delimiter);
        // Dropping the empty element after a trailing delimiter loses that delimiter only.
        FUZZ_CHECK(joined == text || (drop && joined + delimiter == text));
    }

    FUZZ_CHECK(ReplaceText(text, delimiter, delimiter) == text);
    const std::u16string replaced = ReplaceText(text, delimiter, replacement);
    if (delimiter.empty()) FUZZ_CHECK(replaced == text);
    if (!delimiter.empty()) FUZZ_CHECK(replaced == Join(SplitListViews(text, delimiter, false), replacement));
    FUZZ_CHECK(JoinListText(text, delimiter) == ReplaceText(text, delimiter, u"\r\n"));
    return 0;
}
