// The shape of every member of the Helper object: a noexcept shim that sets its [out] value to
// the empty value on entry, runs the worker under Guarded (server/ErrorInfo.h) and gives the
// worker's result last, only when the worker succeeded.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "platform/Raii.h"
#include "platform/Text.h"
#include "server/ErrorInfo.h"

namespace ombrisk {

template <typename F>
HRESULT ReturnBool(VARIANT_BOOL* out, F&& worker) noexcept {
    if (!out) return E_POINTER;
    *out = VARIANT_FALSE;
    return Guarded([&] {
        const bool result = worker();
        *out = result ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

template <typename F>
HRESULT ReturnVariant(VARIANT* out, F&& worker) noexcept {
    if (!out) return E_POINTER;
    VariantInit(out);
    return Guarded([&] {
        UniqueVariant result = worker();
        result.release(out);
        return S_OK;
    });
}

template <typename F>
HRESULT ReturnString(VARIANT* out, F&& worker) noexcept {
    return ReturnVariant(out, [&] {
        UniqueVariant result;
        result.Set(worker());
        return result;
    });
}

template <typename F>
HRESULT ReturnBstr(BSTR* out, F&& worker) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Guarded([&] {
        UniqueBstr result(AllocBstr(worker()));
        *out = result.release();
        return S_OK;
    });
}

template <typename F>
HRESULT Run(F&& worker) noexcept {
    return Guarded([&] {
        worker();
        return S_OK;
    });
}

}  // namespace ombrisk
