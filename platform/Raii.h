// Owners for every Win32 and COM resource the library touches. No raw close or free call
// appears outside this header: a resource is wrapped the moment it is obtained.
// Vocabulary: get() borrows, reset() frees and replaces, release() gives up ownership,
// put() frees and hands out the address for an out-parameter.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <objbase.h>

#include <utility>

namespace ombrisk {

// A move-only owner of one value of a handle-like type; Traits::Close frees it, Traits::Invalid()
// is the "nothing owned" value. The destructor keeps the thread's last error intact so that a
// failure read after cleanup still describes the failing call.
template <typename Traits>
class UniqueResource {
public:
    using value_type = typename Traits::Type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(value_type v) noexcept : value_(v) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    value_type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    void reset(value_type v = Traits::Invalid()) noexcept {
        if (value_ != Traits::Invalid()) {
            const DWORD lastError = GetLastError();
            Traits::Close(value_);
            SetLastError(lastError);
        }
        value_ = v;
    }
    value_type release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    value_type* put() noexcept {
        reset();
        return &value_;
    }

private:
    value_type value_ = Traits::Invalid();
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
struct HandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
struct HkeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { RegCloseKey(h); }
};
struct HglobalTraits {
    using Type = HGLOBAL;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { GlobalFree(h); }
};
struct BstrTraits {
    using Type = BSTR;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type s) noexcept { SysFreeString(s); }
};
struct SafeArrayTraits {
    using Type = SAFEARRAY*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type a) noexcept { SafeArrayDestroy(a); }
};
struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyWindow(h); }
};
struct EnhMetafileTraits {
    using Type = HENHMETAFILE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteEnhMetaFile(h); }
};
struct MetafileTraits {
    using Type = HMETAFILE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteMetaFile(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteObject(h); }
};
struct MappedViewTraits {
    using Type = const void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type v) noexcept { UnmapViewOfFile(v); }
};

using UniqueFile = UniqueResource<FileHandleTraits>;   // CreateFile results
using UniqueHandle = UniqueResource<HandleTraits>;     // process, thread, event handles
using UniqueHkey = UniqueResource<HkeyTraits>;
using UniqueHglobal = UniqueResource<HglobalTraits>;
using UniqueBstr = UniqueResource<BstrTraits>;
using UniqueSafeArray = UniqueResource<SafeArrayTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueMappedView = UniqueResource<MappedViewTraits>;  // MapViewOfFile results
using UniqueEnhMetafile = UniqueResource<EnhMetafileTraits>;
using UniqueMetafile = UniqueResource<MetafileTraits>;        // a Windows metafile (HMETAFILE)
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;      // bitmaps, palettes

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
    // Moves the value out to a caller-owned VARIANT (for example an [out, retval]).
    void release(VARIANT* out) noexcept {
        *out = v_;
        VariantInit(&v_);
    }

private:
    VARIANT v_;
};

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
// a value changed and restored). dismiss() cancels it.
template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (active_) f_();
    }
    void dismiss() noexcept { active_ = false; }

private:
    F f_;
    bool active_ = true;
};

}  // namespace ombrisk
