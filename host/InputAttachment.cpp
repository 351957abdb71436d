#include "host/InputAttachment.h"

#include <type_traits>
#include <utility>

namespace ombrisk {

namespace {

// How many guards of this thread hold the attachment to each host thread, for which window and
// in which order it was made; generation tells an entry from an earlier one for the same thread
// id. Plain data, so the thread's exit runs no destructor; the last guard's reset leaves an
// entry free again.
struct AttachmentCount {
    DWORD hostThread;
    HWND window;
    DWORD guards;
    AttachOrder order;
    uint32_t generation;
};
constexpr size_t kMaxHostThreads = 16;
thread_local AttachmentCount t_attachments[kMaxHostThreads] = {};
thread_local uint32_t t_lastGeneration = 0;
static_assert(std::is_trivially_destructible_v<AttachmentCount>);

// The entry for hostThread. One whose window is gone, or now belongs to another thread, is
// dropped: its thread may have ended (ending the attachment) and its id gone to a new thread.
AttachmentCount* FindCount(DWORD hostThread) noexcept {
    for (AttachmentCount& c : t_attachments) {
        if (c.guards == 0 || c.hostThread != hostThread) continue;
        if (IsWindow(c.window) && GetWindowThreadProcessId(c.window, nullptr) == hostThread) return &c;
        c.guards = 0;
    }
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
    : host_(std::exchange(other.host_, 0)), owner_(std::exchange(other.owner_, 0)), generation_(other.generation_) {}

InputAttachment& InputAttachment::operator=(InputAttachment&& other) noexcept {
    if (this != &other) {
        reset();
        host_ = std::exchange(other.host_, 0);
        owner_ = std::exchange(other.owner_, 0);
        generation_ = other.generation_;
    }
    return *this;
}

InputAttachment InputAttachment::Attach(HWND window, AttachOrder order) noexcept {
    const DWORD self = GetCurrentThreadId();
    const DWORD hostThread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    if (hostThread == 0 || hostThread == self) return {};
    if (AttachmentCount* held = FindCount(hostThread)) {
        ++held->guards;
        return InputAttachment(hostThread, self, held->generation);
    }
    AttachmentCount* slot = FreeCount();
    if (!slot || !AttachInOrder(hostThread, self, order, TRUE)) return {};
    *slot = AttachmentCount{hostThread, window, 1, order, ++t_lastGeneration};
    return InputAttachment(hostThread, self, slot->generation);
}

void InputAttachment::reset() noexcept {
    if (host_ == 0) return;
    const DWORD host = std::exchange(host_, 0);
    const DWORD self = GetCurrentThreadId();
    if (std::exchange(owner_, 0) != self) return;
    AttachmentCount* held = nullptr;
    for (AttachmentCount& c : t_attachments)
        if (c.guards != 0 && c.hostThread == host && c.generation == generation_) held = &c;
    if (!held || --held->guards != 0) return;
    const DWORD lastError = GetLastError();
    AttachInOrder(host, self, held->order, FALSE);
    SetLastError(lastError);
}

}  // namespace ombrisk
