#include "host/InputAttachment.h"

#include <type_traits>
#include <utility>

namespace ombrisk {

namespace {

// How many guards of this thread hold the attachment to each host thread, and in which order
// it was made. Plain data, so the thread's exit runs no destructor; the last guard's reset
// leaves an entry free again.
struct AttachmentCount {
    DWORD hostThread;
    DWORD guards;
    AttachOrder order;
};
constexpr size_t kMaxHostThreads = 16;
thread_local AttachmentCount t_attachments[kMaxHostThreads] = {};
static_assert(std::is_trivially_destructible_v<AttachmentCount>);

AttachmentCount* FindCount(DWORD hostThread) noexcept {
    for (AttachmentCount& c : t_attachments)
        if (c.guards != 0 && c.hostThread == hostThread) return &c;
    return nullptr;
}

AttachmentCount* FreeCount() noexcept {
    for (AttachmentCount& c : t_attachments)
        if (c.guards == 0) return &c;
    return nullptr;
}

BOOL AttachInOrder(DWORD host, DWORD self, AttachOrder order, BOOL attach) noexcept {
    return order == AttachOrder::HostToCaller ? AttachThreadInput(host, self, attach)
                                              : AttachThreadInput(self, host, attach);
}

}  // namespace

InputAttachment::InputAttachment(InputAttachment&& other) noexcept
    : host_(std::exchange(other.host_, 0)), owner_(std::exchange(other.owner_, 0)) {}

InputAttachment& InputAttachment::operator=(InputAttachment&& other) noexcept {
    if (this != &other) {
        reset();
        host_ = std::exchange(other.host_, 0);
        owner_ = std::exchange(other.owner_, 0);
    }
    return *this;
}

InputAttachment InputAttachment::Attach(DWORD hostThread, AttachOrder order) noexcept {
    const DWORD self = GetCurrentThreadId();
    if (hostThread == 0 || hostThread == self) return {};
    if (AttachmentCount* held = FindCount(hostThread)) {
        ++held->guards;
        return InputAttachment(hostThread, self);
    }
    AttachmentCount* slot = FreeCount();
    if (!slot || !AttachInOrder(hostThread, self, order, TRUE)) return {};
    *slot = AttachmentCount{hostThread, 1, order};
    return InputAttachment(hostThread, self);
}

void InputAttachment::reset() noexcept {
    if (host_ == 0) return;
    const DWORD host = std::exchange(host_, 0);
    const DWORD self = GetCurrentThreadId();
    if (std::exchange(owner_, 0) != self) return;
    AttachmentCount* held = FindCount(host);
    if (!held || --held->guards != 0) return;
    const DWORD lastError = GetLastError();
    AttachInOrder(host, self, held->order, FALSE);
    SetLastError(lastError);
}

}  // namespace ombrisk
