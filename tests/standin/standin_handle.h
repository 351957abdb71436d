// Move-only owner of a kernel HANDLE for the stand-in; closes it on destruction.
// Keeps GetLastError across the close so callers can still read why something failed.
#pragma once
#include <windows.h>

#include <utility>

namespace ombrisk::standin {

class unique_handle {
public:
    unique_handle() = default;
    explicit unique_handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    unique_handle(unique_handle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    unique_handle& operator=(unique_handle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    ~unique_handle() { reset(); }

    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(HANDLE h = nullptr) {
        if (h_) {
            const DWORD err = GetLastError();
            CloseHandle(h_);
            SetLastError(err);
        }
        h_ = (h == INVALID_HANDLE_VALUE) ? nullptr : h;
    }

private:
    HANDLE h_ = nullptr;
};

}  // namespace ombrisk::standin
