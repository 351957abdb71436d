#include "core/CopyData.h"

#include "core/AsciiText.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace ombrisk {
namespace {

uint32_t ToCbData(size_t n) {
    if (n > std::numeric_limits<uint32_t>::max()) throw std::length_error("WM_COPYDATA payload too long");
    return static_cast<uint32_t>(n);
}

// Text plus `terminators` NULs in a zero-filled buffer of at least `minSize` bytes.
CopyDataPayload BuildTextPayload(std::string_view text, size_t terminators, size_t minSize) {
    CopyDataPayload p;
    const size_t needed = text.size() + terminators;
    p.cbData = ToCbData(needed);
    p.buffer.assign(std::max(needed, minSize), 0);
    std::copy(text.begin(), text.end(), p.buffer.begin());
    return p;
}

void AppendUtf8(std::vector<uint8_t>& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(uint8_t(cp));
    } else if (cp < 0x800) {
        out.push_back(uint8_t(0xC0 | (cp >> 6)));
        out.push_back(uint8_t(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(uint8_t(0xE0 | (cp >> 12)));
        out.push_back(uint8_t(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(uint8_t(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(uint8_t(0xF0 | (cp >> 18)));
        out.push_back(uint8_t(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(uint8_t(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(uint8_t(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

CopyDataPayload BuildGwPayload(std::string_view ansiText) { return BuildTextPayload(ansiText, 1, kGwBufferSize); }

CopyDataPayload BuildEmPayload(std::string_view ansiName) { return BuildTextPayload(ansiName, 2, kEmBufferSize); }

std::vector<uint8_t> ToUtf8WithBom(std::u16string_view text) {
    // The platform converter is handed a NUL-terminated text, so it never sees beyond a U+0000.
    text = text.substr(0, text.find(u'\0'));
    std::vector<uint8_t> out{0xEF, 0xBB, 0xBF};
    out.reserve(3 + text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        char32_t cp = c;
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

CopyDataPayload BuildCdPayload(std::u16string_view path1, std::u16string_view path2, bool leftRight, bool inNewTab) {
    std::vector<uint8_t> bytes;
    if (!path1.empty()) bytes = ToUtf8WithBom(path1);
    bytes.push_back(0x0D);
    if (!path2.empty()) {
        const std::vector<uint8_t> second = ToUtf8WithBom(path2);
        bytes.insert(bytes.end(), second.begin(), second.end());
    }
    bytes.push_back(0x00);
    if (!leftRight) bytes.push_back('S');
    if (inNewTab) bytes.push_back('T');
    bytes.push_back(0x00);

    CopyDataPayload p;
    // The host reads the whole fixed-size buffer; a longer payload is sent at its exact size.
    if (bytes.size() < kCdBufferSize) bytes.resize(kCdBufferSize, 0);
    p.cbData = ToCbData(bytes.size());
    p.buffer = std::move(bytes);
    return p;
}

std::u16string DecodeRwAnswer(const uint8_t* data, size_t cbData) {
    std::u16string text;
    if (data == nullptr) return text;
    const size_t units = cbData / 2;
    for (size_t i = 0; i < units; ++i) {
        const char16_t c = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

}  // namespace ombrisk
