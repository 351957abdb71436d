#include "platform/Wait.h"

#include <windows.h>

#include <algorithm>

namespace ombrisk {

namespace {

// Delivers the messages other threads have sent to this thread's windows; removes nothing.
void AnswerSentMessages() noexcept {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

ULONGLONG Deadline(int32_t ms) noexcept { return GetTickCount64() + static_cast<ULONGLONG>(std::max(ms, 0)); }

// Answers sent messages until the tick count reaches end.
void AnswerUntil(ULONGLONG end) noexcept {
    for (;;) {
        AnswerSentMessages();
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        // Wakes for a message sent meanwhile, which the next round answers.
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE, 0);
    }
}

}  // namespace

void WaitMs(int32_t ms) noexcept { AnswerUntil(Deadline(ms)); }

bool WaitUntil(const std::function<bool()>& done, int32_t limitMs, int32_t stepMs) noexcept {
    const ULONGLONG end = Deadline(limitMs);
    for (;;) {
        AnswerSentMessages();
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        AnswerUntil(std::min(end, now + static_cast<ULONGLONG>(std::max(stepMs, 1))));
    }
}

}  // namespace ombrisk
