// The "GW", "EM" and "CD" payload builders and ToUtf8WithBom on arbitrary texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/CopyData.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

namespace {

bool ZeroFrom(const std::vector<uint8_t>& b, size_t from) {
    return from <= b.size() && std::all_of(b.begin() + from, b.end(), [](uint8_t x) { return x == 0; });
}

// Strict UTF-8 decoder (no overlongs, no surrogates, max U+10FFFF) back to UTF-16.
bool DecodeUtf8(const uint8_t* p, size_t n, std::u16string& out) {
    for (size_t i = 0; i < n;) {
        const uint8_t b = p[i];
        size_t len;
        char32_t cp;
        if (b < 0x80) {
            len = 1;
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            cp = b & 0x07;
        } else return false;
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        static const char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            out.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += len;
    }
    return true;
}

// What the host gets back after decoding: the text up to U+0000, lone surrogates as U+FFFD.
std::u16string Expected(std::u16string_view s) {
    s = s.substr(0, s.find(u'\0'));
    std::u16string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
        if (pair) {
            out.push_back(c);
            out.push_back(s[++i]);
        } else {
            out.push_back(c >= 0xD800 && c <= 0xDFFF ? char16_t(0xFFFD) : c);
        }
    }
    return out;
}

void CheckUtf8WithBom(std::u16string_view text, const std::vector<uint8_t>& bytes) {
    FUZZ_CHECK(bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF);
    std::u16string back;
    FUZZ_CHECK(DecodeUtf8(bytes.data() + 3, bytes.size() - 3, back));
    FUZZ_CHECK(back == Expected(text));
}

void CheckText(const CopyDataPayload& p, std::string_view text, size_t nuls, size_t minSize) {
    FUZZ_CHECK(p.cbData == text.size() + nuls);
    FUZZ_CHECK(p.buffer.size() == std::max(minSize, text.size() + nuls));
    FUZZ_CHECK(text.empty() || std::memcmp(text.data(), p.buffer.data(), text.size()) == 0);
    FUZZ_CHECK(ZeroFrom(p.buffer, text.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool leftRight = in.ConsumeBool();
    const bool inNewTab = in.ConsumeBool();
    const std::string ansi = in.ConsumeRandomLengthString(3000);
    const std::u16string path1 = fuzz::Text(in.ConsumeRandomLengthString(3000));
    const std::u16string path2 = fuzz::Text(in.ConsumeRemainingBytesAsString());

    CheckText(BuildGwPayload(ansi), ansi, 1, kGwBufferSize);
    CheckText(BuildEmPayload(ansi), ansi, 2, kEmBufferSize);

    const std::vector<uint8_t> u1 = ToUtf8WithBom(path1);
    const std::vector<uint8_t> u2 = ToUtf8WithBom(path2);
    CheckUtf8WithBom(path1, u1);
    CheckUtf8WithBom(path2, u2);

    const CopyDataPayload cd = BuildCdPayload(path1, path2, leftRight, inNewTab);
    FUZZ_CHECK(cd.cbData == cd.buffer.size() && cd.buffer.size() >= kCdBufferSize);
    std::vector<uint8_t> layout;
    if (!path1.empty()) layout = u1;
    layout.push_back(0x0D);
    if (!path2.empty()) layout.insert(layout.end(), u2.begin(), u2.end());
    layout.push_back(0);
    if (!leftRight) layout.push_back('S');
    if (inNewTab) layout.push_back('T');
    layout.push_back(0);
    FUZZ_CHECK(cd.buffer.size() == std::max(kCdBufferSize, layout.size()));
    FUZZ_CHECK(std::equal(layout.begin(), layout.end(), cd.buffer.begin()));
    FUZZ_CHECK(ZeroFrom(cd.buffer, layout.size()));
    return 0;
}
