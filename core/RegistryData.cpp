#include "core/RegistryData.h"

#include <cstddef>

namespace ombrisk {
namespace {

std::u16string TextUpToNul(std::span<const uint8_t> data) {
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == u'\0') break;
        text += c;
    }
    return text;
}

}  // namespace

std::u16string RegistryValueText(uint32_t type, std::span<const uint8_t> data) {
    if (type == kRegSz) return TextUpToNul(data);
    if (type == kRegBinary) {
        const unsigned low = data.size() > 0 ? data[0] : 0;
        const unsigned high = data.size() > 1 ? data[1] : 0;
        const int16_t value = static_cast<int16_t>(low | (high << 8));
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    }
    return {};
}

std::optional<std::vector<uint8_t>> SilencedSoundData(uint32_t type, std::span<const uint8_t> data) {
    if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
    if (TextUpToNul(data).empty()) return std::nullopt;
    return std::vector<uint8_t>{' ', 0, 0, 0};
}

}  // namespace ombrisk
