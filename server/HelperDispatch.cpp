#include "server/HelperDispatch.h"

#include "platform/Raii.h"
#include "platform/Text.h"
#include "server/ErrorInfo.h"
#include "server/TypeInfo.h"
#include "server/Variants.h"

#include <algorithm>

namespace ombrisk {

namespace {

// The argument a caller passed for parameter index of a call, or null when it passed none.
// Positional arguments arrive in reverse order after the named ones.
const VARIANT* FindArgument(const DISPPARAMS* params, UINT index) noexcept {
    if (!params) return nullptr;
    for (UINT i = 0; i < params->cNamedArgs; ++i)
        if (params->rgdispidNamedArgs && params->rgdispidNamedArgs[i] == static_cast<DISPID>(index))
            return &params->rgvarg[i];
    const UINT positional = params->cArgs - params->cNamedArgs;
    if (index < positional) return &params->rgvarg[params->cArgs - 1 - index];
    return nullptr;
}

// A call's arguments with one omitted optional argument supplied: where the caller left it out
// (a shorter list, or the missing-argument marker VBScript passes) it gets the given value, as
// the next positional argument when it is that, by name otherwise. Holds the copied list.
class CompletedArguments {
public:
    // params itself when the argument was passed (or the list is too long to copy).
    DISPPARAMS* Complete(DISPPARAMS* params, UINT index, VARIANT_BOOL value) noexcept {
        if (!params || params->cArgs >= kCapacity) return params;
        const VARIANT* given = FindArgument(params, index);
        if (given && !IsMissing(*given)) return params;
        const UINT count = params->cArgs;
        const UINT named = params->cNamedArgs;
        std::copy_n(params->rgvarg, count, args_);
        std::copy_n(params->rgdispidNamedArgs, named, names_);
        completed_ = DISPPARAMS{args_, names_, count, named};
        UINT slot = 0;
        if (given) {
            slot = static_cast<UINT>(given - params->rgvarg);
        } else if (count - named == index) {
            // The next positional argument, which comes first among them.
            slot = named;
            std::copy_backward(args_ + named, args_ + count, args_ + count + 1);
            ++completed_.cArgs;
        } else {
            // By name, ahead of the other named ones.
            std::copy_backward(args_, args_ + count, args_ + count + 1);
            std::copy_backward(names_, names_ + named, names_ + named + 1);
            names_[0] = static_cast<DISPID>(index);
            ++completed_.cArgs;
            ++completed_.cNamedArgs;
        }
        VariantInit(&args_[slot]);
        V_VT(&args_[slot]) = VT_BOOL;
        V_BOOL(&args_[slot]) = value;
        return &completed_;
    }

private:
    static constexpr UINT kCapacity = 8;  // more than any member has parameters
    VARIANT args_[kCapacity];             // borrowed copies: the caller's list owns what they point to
    DISPID names_[kCapacity];
    DISPPARAMS completed_{};
};

}  // namespace

// IUnknown ---------------------------------------------------------------------------------

HRESULT HelperDispatch::QueryInterface(REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID__Helper) *ppv = static_cast<_Helper*>(this);
    else if (riid == IID_IProvideClassInfo) *ppv = static_cast<IProvideClassInfo*>(this);
    else if (riid == IID_ISupportErrorInfo) *ppv = static_cast<ISupportErrorInfo*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG HelperDispatch::AddRef() noexcept { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG HelperDispatch::Release() noexcept {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

// IDispatch --------------------------------------------------------------------------------

HRESULT HelperDispatch::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = HelperInterfaceInfo() ? 1 : 0;
    return S_OK;
}

HRESULT HelperDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* ti = HelperInterfaceInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    ti->AddRef();
    *info = ti;
    return S_OK;
}

HRESULT HelperDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = HelperInterfaceInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    const bool single = count == 1 && names && names[0] && ids;
    if (single) {
        if (const auto id = names_.Find(AsU16(std::wstring_view(names[0])))) {
            ids[0] = *id;
            return S_OK;
        }
    }
    const HRESULT hr = DispGetIDsOfNames(ti, names, count, ids);
    if (single && hr == S_OK) {
        try {
            names_.Remember(AsU16(std::wstring_view(names[0])), ids[0]);
        } catch (...) {  // not remembered: the next lookup searches again
        }
    }
    return hr;
}

HRESULT HelperDispatch::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* excep, UINT* argErr) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = HelperInterfaceInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    SetErrorInfo(0, nullptr);
    HRESULT hr = S_OK;
    // One argument too many is refused rather than silently dropped.
    const int limit = ArgumentLimit(id, flags);
    if (params && limit >= 0 && params->cArgs > static_cast<UINT>(limit)) {
        hr = DISP_E_BADPARAMCOUNT;
    } else {
        CompletedArguments completed;
        DISPPARAMS* args = params;
        if (const int index = OptionalTypedParameter(id, flags); index >= 0)
            if (const auto value = OmittedArgument(id, static_cast<UINT>(index)))
                args = completed.Complete(params, static_cast<UINT>(index), *value);
        hr = ti->Invoke(static_cast<_Helper*>(this), id, flags, args, result, excep, argErr);
    }
    if (!FAILED(hr) || hr == DISP_E_EXCEPTION || !excep) return hr;
    // Argument errors of the dispatcher become script errors with a number and a description,
    // as the member's own failures are: a script engine that does not describe DISP_E codes
    // itself still shows a clear message.
    const HRESULT scriptError = ScriptErrorForDispatchFailure(hr);
    if (scriptError == S_OK) return hr;
    *excep = EXCEPINFO{};
    ComPtr<IErrorInfo> info;
    if (scriptError != hr) ReportError(Error::FromHresult(scriptError));
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        info->GetSource(&excep->bstrSource);
        info->GetDescription(&excep->bstrDescription);
    }
    excep->scode = scriptError;
    return DISP_E_EXCEPTION;
}

// IProvideClassInfo, ISupportErrorInfo -----------------------------------------------------

HRESULT HelperDispatch::GetClassInfo(ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    ITypeInfo* ti = HelperClassInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    ti->AddRef();
    *info = ti;
    return S_OK;
}

HRESULT HelperDispatch::InterfaceSupportsErrorInfo(REFIID riid) noexcept {
    return (riid == IID__Helper || riid == IID_IDispatch) ? S_OK : S_FALSE;
}

}  // namespace ombrisk
