// The one shape of the platform calls that fill a caller's buffer and say when it was too small:
// the call is made again with a bigger buffer until the result fits.
#pragma once

#include <cstddef>
#include <new>
#include <optional>

namespace ombrisk {

// What one call gave: the length it wrote (the buffer is cut to it), or the size to try next.
struct Attempt {
    size_t length = 0;
    size_t retry = 0;  // 0: done
    bool failed = false;

    static Attempt Read(size_t length) noexcept { return {length, 0, false}; }
    static Attempt Again(size_t size) noexcept { return {0, size, false}; }
    static Attempt Failed() noexcept { return {0, 0, true}; }
};

// Calls fill(data, size) with a Buffer (std::wstring, std::vector<BYTE>) of `initial` elements,
// then of the sizes it asks for, until it reads or fails. Nothing when it failed; throws
// std::bad_alloc for a size beyond maxSize elements.
template <typename Buffer, typename Fill>
std::optional<Buffer> ReadGrowing(size_t initial, Fill&& fill, size_t maxSize = size_t{1} << 28) {
    Buffer buffer;
    for (size_t size = initial;;) {
        if (size > maxSize) throw std::bad_alloc();
        buffer.assign(size, typename Buffer::value_type{});
        const Attempt a = fill(buffer.data(), size);
        if (a.failed) return std::nullopt;
        if (a.retry == 0) {
            buffer.resize(a.length < size ? a.length : size);
            return buffer;
        }
        size = a.retry > size ? a.retry : size * 2;  // never the same size twice
    }
}

}  // namespace ombrisk
