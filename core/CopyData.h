// Wire format of the WM_COPYDATA exchange with the host: request payloads ("GW", "CD", "EM")
// and the decoding of its "RW" answers. Portable and pure; the reply window (platform/ReplyWindow) sends and receives.
// Builders return a zero-filled buffer the caller owns and sends whole from its start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// dwData of a request or answer: the first character in the low byte.
constexpr uint32_t CopyDataCode(char first, char second) {
    return uint32_t(uint8_t(first)) | (uint32_t(uint8_t(second)) << 8);
}
constexpr uint32_t kCopyDataGW = 0x5747;  // information request, answered with "RW"
constexpr uint32_t kCopyDataCD = 0x4443;  // change panel directories
constexpr uint32_t kCopyDataEM = 0x4D45;  // run a user-defined command by name
constexpr uint32_t kCopyDataRW = 0x5752;  // answer as UTF-16LE text
static_assert(CopyDataCode('G', 'W') == kCopyDataGW && CopyDataCode('R', 'W') == kCopyDataRW);

// Smallest buffers the host is sent; longer data gets a buffer that grows to fit.
constexpr size_t kGwBufferSize = 48;
constexpr size_t kCdBufferSize = 2048;
constexpr size_t kEmBufferSize = 1024;

// `buffer` is what lpData points to; `cbData` the byte count to send (<= buffer.size()).
struct CopyDataPayload {
    std::vector<uint8_t> buffer;
    uint32_t cbData = 0;
};

// "GW": the (already upper-cased) request text in ANSI, then NUL. Buffer 48 bytes or
// length + 1 when longer; cbData = length + 1. Throws std::length_error beyond 4 GB.
CopyDataPayload BuildGwPayload(std::string_view ansiText);

// "EM": the user command's name in ANSI, then two NULs. Buffer 1024 bytes or length + 2 when
// longer; cbData = length + 2. Throws std::length_error beyond 4 GB.
CopyDataPayload BuildEmPayload(std::string_view ansiName);

// EF BB BF followed by `text` in UTF-8, no terminator. The text stops at its first U+0000;
// an unpaired surrogate becomes U+FFFD (EF BF BD), as the platform's UTF-8 converter does.
std::vector<uint8_t> ToUtf8WithBom(std::u16string_view text);

// "CD": path1 CR path2 NUL flags NUL, each non-empty path as ToUtf8WithBom, an empty one absent;
// flags "S" when !leftRight (source/target panels), then "T" when inNewTab. Buffer 2048 bytes,
// or exactly the needed size when bigger; cbData is always the buffer size.
CopyDataPayload BuildCdPayload(std::u16string_view path1, std::u16string_view path2, bool leftRight, bool inNewTab);

// Text of an "RW" answer: cbData bytes as UTF-16LE units (an odd last byte ignored), up to the
// first U+0000. A null `data` or cbData 0 gives the empty text. Reads exactly cbData bytes.
std::u16string DecodeRwAnswer(const uint8_t* data, size_t cbData);

}  // namespace ombrisk
