// DecodeRwAnswer on arbitrary answer bytes; ASan checks that it reads only cbData bytes.
#include "core/CopyData.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = DecodeRwAnswer(data, size);
    FUZZ_CHECK(text.size() <= size / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        FUZZ_CHECK(text[i] != 0);
        FUZZ_CHECK(text[i] == char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    }
    // The text ends at a U+0000 or at the last whole unit.
    const size_t end = text.size();
    FUZZ_CHECK(end == size / 2 || (data[2 * end] == 0 && data[2 * end + 1] == 0));
    FUZZ_CHECK(DecodeRwAnswer(nullptr, size).empty());
    return 0;
}
