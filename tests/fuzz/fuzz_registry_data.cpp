// RegistryValueText and SilencedSoundData on arbitrary value types and bytes, as a registry
// value written by any program can hold them.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/RegistryData.h"
#include "tests/fuzz/FuzzSupport.h"

#include <vector>

using namespace ombrisk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint32_t type = in.ConsumeIntegralInRange<uint32_t>(0, 12);
    const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();

    const std::u16string text = RegistryValueText(type, bytes);
    if (type == kRegSz) {
        // The text is the leading code units before the first NUL, each from its byte pair.
        FUZZ_CHECK(text.size() <= bytes.size() / 2);
        for (size_t i = 0; i < text.size(); ++i) {
            FUZZ_CHECK(text[i] != u'\0');
            FUZZ_CHECK(text[i] == char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
        }
        if (2 * text.size() + 1 < bytes.size()) FUZZ_CHECK(bytes[2 * text.size()] == 0 && bytes[2 * text.size() + 1] == 0);
    } else if (type == kRegBinary) {
        const long value = std::stol(std::string(text.begin(), text.end()));
        FUZZ_CHECK(value >= -32768 && value <= 32767);
    } else {
        FUZZ_CHECK(text.empty());
    }

    const auto silent = SilencedSoundData(type, bytes);
    const bool stringType = type == kRegSz || type == kRegExpandSz;
    const bool hasText = stringType && bytes.size() >= 2 && (bytes[0] != 0 || bytes[1] != 0);
    FUZZ_CHECK(silent.has_value() == hasText);
    if (silent) FUZZ_CHECK((*silent == std::vector<uint8_t>{' ', 0, 0, 0}));
    return 0;
}
