// What the library makes of a registry value's type and raw bytes: the text the installation
// discovery reads, and the silent replacement of the asterisk sound. Portable and pure; the
// Win32 shell (platform/Registry) reads and writes the bytes with the wide registry functions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ombrisk {

// The platform's value type numbers used here.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;

// REG_SZ: its UTF-16 text (little-endian byte pairs; an odd last byte is ignored) up to the
// first NUL. REG_BINARY: the decimal text of its first two bytes read as a little-endian signed
// 16-bit integer (missing bytes count as 0, so an empty value gives "0"). Any other type: "".
std::u16string RegistryValueText(uint32_t type, std::span<const uint8_t> data);

// The bytes that silence the asterisk sound: a single space and its NUL, to be written with
// the value's own type. Only for a REG_SZ or REG_EXPAND_SZ whose text (up to the first NUL) is
// not empty; every other value gives nullopt and is left alone.
std::optional<std::vector<uint8_t>> SilencedSoundData(uint32_t type, std::span<const uint8_t> data);

}  // namespace ombrisk
