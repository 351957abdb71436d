#include "server/ErrorInfo.h"

#include "generated/Ombrisk_h.h"

#include "platform/Raii.h"

#include <oleauto.h>

namespace ombrisk {

namespace {

const wchar_t kSource[] = OMBRISK_PROGID;

// Facility "control" with the error number in the low word.
constexpr HRESULT ScriptErrorCode(int number) {
    return static_cast<HRESULT>(0x800A0000u | static_cast<unsigned>(number & 0xFFFF));
}

// Standard description of an HRESULT ("Type mismatch", or the system's message text).
std::wstring DescribeHresult(HRESULT hr) {
    const ErrorKind kind = ErrorKindOfHresult(hr);
    if (kind != ErrorKind::System) return ErrorDescription(kind);
    UniqueHlocal buffer;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring result = n && buffer ? std::wstring(static_cast<const wchar_t*>(buffer.get()), n) : L"Unexpected failure";
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L'.')) result.pop_back();
    return result;
}

}  // namespace

HRESULT HresultOf(const Error& e) noexcept {
    if (e.kind() != ErrorKind::System) return ScriptErrorCode(ErrorNumber(e.kind()));
    return FAILED(e.systemCode()) ? e.systemCode() : E_FAIL;
}

HRESULT ScriptErrorForDispatchFailure(HRESULT hr) noexcept {
    switch (hr) {
    case DISP_E_TYPEMISMATCH:
    case DISP_E_OVERFLOW:
    case DISP_E_PARAMNOTFOUND:
    case DISP_E_BADPARAMCOUNT: return HresultOf(Error::FromHresult(hr));
    default: return IsScriptErrorCode(hr) ? hr : S_OK;  // a script error code stands for itself
    }
}

HRESULT ReportError(const Error& e) noexcept {
    const HRESULT hr = HresultOf(e);
    try {
        ComPtr<ICreateErrorInfo> create;
        if (FAILED(CreateErrorInfo(create.put()))) return hr;
        const std::wstring desc = e.description().empty() ? DescribeHresult(hr) : e.description();
        create->SetDescription(const_cast<LPOLESTR>(desc.c_str()));
        create->SetSource(const_cast<LPOLESTR>(e.source().empty() ? kSource : e.source().c_str()));
        create->SetGUID(GUID_NULL);
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.put_void()))) SetErrorInfo(0, info.get());
    } catch (...) {
        // Error information is best effort; the HRESULT alone still reaches the script.
    }
    return hr;
}

}  // namespace ombrisk
