#include "platform/Pause.h"

#include "platform/Wait.h"

namespace ombrisk {

int32_t Pause::Ms(int32_t divisor) const {
    if (unreadable_) throw *unreadable_;
    return divisor == 1 ? ms_ : ms_ / divisor;
}

void Pause::Wait(int32_t divisor) const { WaitMs(Ms(divisor)); }

}  // namespace ombrisk
