// The plumbing of the Helper object apart from its members: reference counting, the interfaces
// it answers, and IDispatch served by the type library's information for _Helper (names mapped
// without regard to case, arguments converted and checked by the dispatcher), with one argument
// too many refused and the dispatcher's argument errors turned into script errors that carry a
// description. The members themselves are the derived class's (server/Helper.h).
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "core/DispatchNames.h"
#include "generated/Ombrisk_h.h"

#include <optional>

namespace ombrisk {

class HelperDispatch : public _Helper, public IProvideClassInfo, public ISupportErrorInfo {
public:
    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argErr) noexcept override;

    // IProvideClassInfo
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) noexcept override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) noexcept override;

protected:
    HelperDispatch() noexcept = default;
    virtual ~HelperDispatch() = default;

    // The value of an optional argument that is not a Variant, for when the caller left it out
    // (member id, parameter index); nothing when it has none. The dispatcher then receives the
    // value instead of a missing typed argument, which only some dispatchers accept.
    virtual std::optional<VARIANT_BOOL> OmittedArgument(DISPID id, UINT index) const noexcept = 0;

private:
    LONG refs_ = 1;
    // Names the script engine looked up on this object (it asks again at every call).
    DispatchNameCache names_;
};

}  // namespace ombrisk
