#include "platform/Pause.h"

#include <windows.h>

namespace ombrisk {

int32_t Pause::Ms(int32_t divisor) const {
    if (unreadable_) throw *unreadable_;
    return divisor == 1 ? ms_ : ms_ / divisor;
}

void Pause::Wait(int32_t divisor) const { SleepMs(Ms(divisor)); }

void SleepMs(int32_t ms) noexcept {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
}

}  // namespace ombrisk
