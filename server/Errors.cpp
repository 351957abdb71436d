#include "server/Errors.h"

#include "platform/Raii.h"

#include <oleauto.h>

namespace ombrisk {

namespace {

const wchar_t kSource[] = L"Ombrisk.Helper";

int VbNumberOf(HRESULT hr) {
    if ((static_cast<unsigned>(hr) & 0xFFFF0000u) == 0x800A0000u) return hr & 0xFFFF;
    switch (hr) {
    case DISP_E_TYPEMISMATCH: return 13;
    case DISP_E_OVERFLOW: return 6;
    case DISP_E_BADINDEX: return 9;
    case DISP_E_PARAMNOTFOUND: return 449;
    case DISP_E_BADPARAMCOUNT: return 450;
    case E_OUTOFMEMORY: return 7;
    case E_INVALIDARG: return 5;
    default: return 0;
    }
}

}  // namespace

std::wstring DescribeHresult(HRESULT hr) {
    switch (VbNumberOf(hr)) {
    case 5: return L"Invalid procedure call or argument";
    case 6: return L"Overflow";
    case 7: return L"Out of memory";
    case 9: return L"Subscript out of range";
    case 13: return L"Type mismatch";
    case 94: return L"Invalid use of Null";
    case 449: return L"Argument not optional";
    case 450: return L"Wrong number of arguments or invalid property assignment";
    default: break;
    }
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = n ? std::wstring(text, n) : L"Unexpected failure";
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L'.')) result.pop_back();
    return result;
}

HRESULT ScriptErrorForDispatchFailure(HRESULT hr) noexcept {
    if ((static_cast<unsigned>(hr) & 0xFFFF0000u) == 0x800A0000u) return hr;
    switch (hr) {
    case DISP_E_TYPEMISMATCH: case DISP_E_OVERFLOW: case DISP_E_PARAMNOTFOUND: case DISP_E_BADPARAMCOUNT:
        return VbHresult(VbNumberOf(hr));
    default:
        return S_OK;
    }
}

void ThrowConversionError(HRESULT hr) {
    const int n = VbNumberOf(hr);
    if (n != 0) throw ScriptError(VbHresult(n));
    throw ScriptError(hr);
}

HRESULT SetScriptError(HRESULT hr, const std::wstring& description, const std::wstring& source) noexcept {
    try {
        ComPtr<ICreateErrorInfo> create;
        if (FAILED(CreateErrorInfo(create.put()))) return hr;
        const std::wstring desc = description.empty() ? DescribeHresult(hr) : description;
        create->SetDescription(const_cast<LPOLESTR>(desc.c_str()));
        create->SetSource(const_cast<LPOLESTR>(source.empty() ? kSource : source.c_str()));
        create->SetGUID(GUID_NULL);
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.put_void()))) SetErrorInfo(0, info.get());
    } catch (...) {
        // Error information is best effort; the HRESULT alone still reaches the script.
    }
    return hr;
}

}  // namespace ombrisk
