// Shared by the fuzz targets: turning fuzzer bytes into UTF-16 text and checking invariants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// An invariant that must hold for every input; a failure aborts so libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                       \
    do {                                                                                       \
        if (!(cond)) {                                                                         \
            std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace ombrisk::fuzz {

// Bytes to UTF-16 so that ASCII tokens in the corpus and dictionaries read as themselves:
// each byte is one code unit, except that 0xFF followed by two bytes is any unit (little-endian).
inline std::u16string Text(const uint8_t* data, size_t size) {
    std::u16string s;
    s.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            s.push_back(char16_t(data[i + 1] | (data[i + 2] << 8)));
            i += 2;
        } else {
            s.push_back(char16_t(data[i]));
        }
    }
    return s;
}

inline std::u16string Text(std::string_view bytes) {
    return Text(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace ombrisk::fuzz
