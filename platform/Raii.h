// Owners for every Win32 and COM resource the library touches. No raw close or free call
// appears outside this header: a resource is wrapped the moment it is obtained.
// Vocabulary: get() borrows, reset() frees and replaces, release() gives up ownership,
// put() frees and hands out the address for an out-parameter.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <objbase.h>

#include <new>
#include <string_view>
#include <utility>

namespace ombrisk {

// The "nothing owned" value of most handle kinds, and of file and find handles.
template <typename T>
constexpr T NullValue() noexcept {
    return T{};
}
inline HANDLE InvalidHandleValue() noexcept { return INVALID_HANDLE_VALUE; }

// A move-only owner of one value of a handle-like type T; Close frees it, Invalid() is the
// "nothing owned" value. The destructor keeps the thread's last error intact so that a failure
// read after cleanup still describes the failing call.
template <typename T, auto Close, auto Invalid = &NullValue<T>>
class UniqueResource {
public:
    using value_type = T;

    UniqueResource() noexcept = default;
    explicit UniqueResource(T v) noexcept : value_(v) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Invalid(); }

    void reset(T v = Invalid()) noexcept {
        if (value_ != Invalid()) {
            const DWORD lastError = GetLastError();
            Close(value_);
            SetLastError(lastError);
        }
        value_ = v;
    }
    T release() noexcept { return std::exchange(value_, Invalid()); }
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid();
};

using UniqueFile = UniqueResource<HANDLE, &CloseHandle, &InvalidHandleValue>;  // CreateFile results
using UniqueFind = UniqueResource<HANDLE, &FindClose, &InvalidHandleValue>;    // FindFirstFile searches
using UniqueHandle = UniqueResource<HANDLE, &CloseHandle>;                     // process, thread, event, mapping handles
using UniqueHkey = UniqueResource<HKEY, &RegCloseKey>;
using UniqueHlocal = UniqueResource<HLOCAL, &LocalFree>;  // LocalAlloc and FORMAT_MESSAGE_ALLOCATE_BUFFER
using UniqueHglobal = UniqueResource<HGLOBAL, &GlobalFree>;
using UniqueBstr = UniqueResource<BSTR, &SysFreeString>;
using UniqueSafeArray = UniqueResource<SAFEARRAY*, &SafeArrayDestroy>;
using UniqueWindow = UniqueResource<HWND, &DestroyWindow>;
using UniqueEnhMetafile = UniqueResource<HENHMETAFILE, &DeleteEnhMetaFile>;
using UniqueMetafile = UniqueResource<HMETAFILE, &DeleteMetaFile>;  // a Windows metafile (HMETAFILE)
using UniqueGdiObject = UniqueResource<HGDIOBJ, &DeleteObject>;     // bitmaps, palettes

// A VARIANT that is always initialised and always cleared.
class UniqueVariant {
public:
    UniqueVariant() noexcept { VariantInit(&v_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    UniqueVariant& operator=(UniqueVariant&& other) noexcept {
        if (this != &other) {
            VariantClear(&v_);
            v_ = other.v_;
            VariantInit(&other.v_);
        }
        return *this;
    }
    ~UniqueVariant() { VariantClear(&v_); }

    VARIANT* get() noexcept { return &v_; }
    const VARIANT* get() const noexcept { return &v_; }
    VARIANT* put() noexcept {
        VariantClear(&v_);
        return &v_;
    }
    // Setters: the old value is cleared first. Set(text) throws std::bad_alloc.
    void Set(std::wstring_view text);
    void SetI2(SHORT value) noexcept {
        SetScalar(VT_I2, [&](VARIANT& v) { V_I2(&v) = value; });
    }
    void SetR4(float value) noexcept {
        SetScalar(VT_R4, [&](VARIANT& v) { V_R4(&v) = value; });
    }
    void SetR8(double value) noexcept {
        SetScalar(VT_R8, [&](VARIANT& v) { V_R8(&v) = value; });
    }
    // Takes ownership of a BSTR or a SAFEARRAY of variants.
    void SetBstr(UniqueBstr text) noexcept {
        VariantClear(&v_);
        V_BSTR(&v_) = text.release();
        V_VT(&v_) = VT_BSTR;
    }
    void SetArray(UniqueSafeArray array) noexcept {
        VariantClear(&v_);
        V_ARRAY(&v_) = array.release();
        V_VT(&v_) = VT_ARRAY | VT_VARIANT;
    }

    // Moves the value out to a caller-owned VARIANT (for example an [out, retval]).
    void release(VARIANT* out) noexcept {
        *out = v_;
        VariantInit(&v_);
    }

private:
    template <typename F>
    void SetScalar(VARTYPE vt, F&& store) noexcept {
        VariantClear(&v_);
        store(v_);
        V_VT(&v_) = vt;
    }
    VARIANT v_;
};

// The one maker of BSTRs: a new BSTR holding text (embedded NULs kept); throws std::bad_alloc
// when it cannot be had. Caller owns it.
inline BSTR AllocBstr(std::wstring_view text) {
    if (text.size() > 0x3FFFFFFF) throw std::bad_alloc();  // SysAllocStringLen's byte count must fit
    BSTR s = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!s) throw std::bad_alloc();
    return s;
}

inline void UniqueVariant::Set(std::wstring_view text) { SetBstr(UniqueBstr(AllocBstr(text))); }

// A COM interface pointer; Release on destruction.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) noexcept {
        if (other.p_) other.p_->AddRef();
        reset(other.p_);
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset(T* p = nullptr) noexcept {
        if (p_) p_->Release();
        p_ = p;
    }
    T* release() noexcept { return std::exchange(p_, nullptr); }
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

private:
    T* p_ = nullptr;
};

// GlobalLock for the lifetime of the guard.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) noexcept : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (p_) GlobalUnlock(h_);
    }
    void* get() const noexcept { return p_; }

private:
    HGLOBAL h_;
    void* p_;
};

// The clipboard, open for the lifetime of the guard when opened() is true.
class ClipboardOpen {
public:
    explicit ClipboardOpen(HWND owner) noexcept : open_(OpenClipboard(owner) != FALSE) {}
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    ~ClipboardOpen() {
        if (open_) CloseClipboard();
    }
    bool opened() const noexcept { return open_; }

private:
    bool open_;
};

// Runs a callable when the scope ends, for paired changes (attach/detach, hook/unhook,
// a value changed and restored). reset() runs it early, once.
template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (active_) f_();
    }
    void reset() {
        if (active_) {
            active_ = false;
            f_();
        }
    }

private:
    F f_;
    bool active_ = true;
};

}  // namespace ombrisk
