// The object's Pause: the waits that follow host commands, in whole milliseconds. The face
// reads the script's value once, when the script sets it; a value that is no 32-bit number
// (too large, Null) raises its error where a wait needs it, as the script's value would.
#pragma once

#include "platform/Error.h"

#include <cstdint>
#include <optional>

namespace ombrisk {

class Pause {
public:
    static Pause Milliseconds(int32_t ms) { return Pause(ms, std::nullopt); }
    static Pause Unreadable(Error why) { return Pause(0, std::move(why)); }

    // Whole milliseconds divided by divisor, truncated toward zero. Throws the value's error.
    int32_t Ms(int32_t divisor = 1) const;
    // Waits Ms(divisor) with WaitMs. Throws the value's error before waiting.
    void Wait(int32_t divisor = 1) const;

private:
    Pause(int32_t ms, std::optional<Error> unreadable) : ms_(ms), unreadable_(std::move(unreadable)) {}
    int32_t ms_;
    std::optional<Error> unreadable_;
};

}  // namespace ombrisk
