// The script thread's input attached to a host thread, as a guard. Objects on one thread that
// bind the same host thread share one attachment: it is made by the first guard and undone
// when the last guard of that thread and host thread goes. An attachment belongs to the window
// it was made for: once that window is gone its thread may have ended and its id been given
// to a new thread, so the next Attach to that id attaches afresh.
#pragma once

#include <windows.h>

#include "platform/Wine.h"

#include <cstdint>

namespace ombrisk {

class InputAttachment {
public:
    InputAttachment() noexcept = default;
    InputAttachment(const InputAttachment&) = delete;
    InputAttachment& operator=(const InputAttachment&) = delete;
    InputAttachment(InputAttachment&& other) noexcept;
    InputAttachment& operator=(InputAttachment&& other) noexcept;
    ~InputAttachment() { reset(); }

    // Attaches the input of the thread owning window and of the calling thread in the given
    // order, or joins the attachment another guard of this thread holds to that thread (made
    // for a window that still exists on it) without attaching again. Empty when the attachment
    // fails, when window is null or this thread's, or when this thread already holds
    // attachments to too many host threads.
    static InputAttachment Attach(HWND window, AttachOrder order) noexcept;

    // Leaves the attachment; the last guard of this thread for its host thread detaches (in the
    // order it was attached). A guard of an attachment dropped since changes nothing.
    // Must run on the thread that attached (a guard dropped elsewhere changes nothing).
    void reset() noexcept;

    explicit operator bool() const noexcept { return host_ != 0; }
    DWORD hostThread() const noexcept { return host_; }

private:
    InputAttachment(DWORD host, DWORD owner, uint32_t generation) noexcept
        : host_(host), owner_(owner), generation_(generation) {}
    DWORD host_ = 0;
    DWORD owner_ = 0;
    uint32_t generation_ = 0;  // of the table entry this guard holds
};

}  // namespace ombrisk
