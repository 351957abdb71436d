// ExpandIniPath and AddBackslash on arbitrary registry values and folders.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/DiscoveryText.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::u16string tcPath = fuzz::Text(in.ConsumeRandomLengthString(300));
    const std::u16string profile = fuzz::Text(in.ConsumeRandomLengthString(300));
    const std::u16string value = fuzz::Text(in.ConsumeRemainingBytesAsString());

    const std::u16string out = ExpandIniPath(value, tcPath, profile);
    FUZZ_CHECK(out.size() <= value.size() + tcPath.size() + profile.size() + 1);

    std::u16string lower = value;
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
    if (lower.find(u"%userprofile%") != std::u16string::npos) {
        FUZZ_CHECK(!out.empty() && out.size() <= value.size() + profile.size());
    } else if (value.starts_with(u".\\")) {
        const std::u16string folder = AddBackslash(tcPath);
        FUZZ_CHECK(out == folder + value.substr(2));
    } else {
        FUZZ_CHECK(out == value);
    }

    const std::u16string withSlash = AddBackslash(tcPath);
    FUZZ_CHECK(!withSlash.empty() && withSlash.back() == u'\\');
    FUZZ_CHECK(withSlash.size() - tcPath.size() <= 1 && withSlash.starts_with(tcPath));
    FUZZ_CHECK(AddBackslash(withSlash) == withSlash);
    return 0;
}
