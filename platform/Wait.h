// The one wait of the library. A script's thread owns windows (the reply window, a clipboard it
// set): while it waits, it answers the messages other threads send to them, so no other program
// (the file manager included) ever waits on a sleeping script. Posted messages stay in the
// queue: nothing of the script is re-entered.
#pragma once

#include <cstdint>
#include <functional>

namespace ombrisk {

// Returns after ms milliseconds, not before; a count of 0 or less only answers what is waiting.
void WaitMs(int32_t ms) noexcept;

// Looks at done() at once and then at least every stepMs until it is true (returns true) or
// limitMs have passed (one last look decides). done must not throw.
bool WaitUntil(const std::function<bool()>& done, int32_t limitMs, int32_t stepMs = 10) noexcept;

}  // namespace ombrisk
