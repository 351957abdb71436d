#include "server/FileObjects.h"

#include "platform/Error.h"
#include "server/Variants.h"

#include <ocidl.h>

namespace ombrisk {

namespace {

// The object a variant holds (VT_DISPATCH or VT_UNKNOWN, also by reference), as IDispatch.
ComPtr<IDispatch> DispatchOf(const VARIANT* in) noexcept {
    ComPtr<IDispatch> result;
    if (!in) return result;
    const VARIANT& v = Deref(*in);
    IUnknown* unknown = nullptr;
    switch (V_VT(&v)) {
    case VT_DISPATCH: unknown = V_DISPATCH(&v); break;
    case VT_UNKNOWN: unknown = V_UNKNOWN(&v); break;
    case VT_DISPATCH | VT_BYREF: unknown = V_DISPATCHREF(&v) ? *V_DISPATCHREF(&v) : nullptr; break;
    case VT_UNKNOWN | VT_BYREF: unknown = V_UNKNOWNREF(&v) ? *V_UNKNOWNREF(&v) : nullptr; break;
    default: return result;
    }
    if (unknown) unknown->QueryInterface(IID_IDispatch, result.put_void());
    return result;
}

std::wstring TypeInfoName(ITypeInfo* info) {
    UniqueBstr name;
    if (!info || FAILED(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr))) return {};
    return name ? std::wstring(name.get(), SysStringLen(name.get())) : std::wstring();
}

// The name a script's TypeName shows: the class's type information when the object offers
// it, else the type information of its IDispatch.
std::wstring TypeNameOf(IDispatch* object) {
    ComPtr<IProvideClassInfo> provider;
    if (SUCCEEDED(object->QueryInterface(IID_IProvideClassInfo, provider.put_void()))) {
        ComPtr<ITypeInfo> info;
        if (SUCCEEDED(provider->GetClassInfo(info.put()))) {
            std::wstring name = TypeInfoName(info.get());
            if (!name.empty()) return name;
        }
    }
    UINT count = 0;
    if (FAILED(object->GetTypeInfoCount(&count)) || count == 0) return {};
    ComPtr<ITypeInfo> info;
    if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) return {};
    return TypeInfoName(info.get());
}

}  // namespace

// The script's file object behind v, or null when v is not one.
ComPtr<IDispatch> FileObjectOf(const VARIANT* v) {
    ComPtr<IDispatch> object = DispatchOf(v);
    if (object && TypeNameOf(object.get()) != L"File") object.reset();
    return object;
}

// Reads a property by name (late binding). Throws Error with the object's failure.
UniqueVariant GetProperty(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw Error::FromHresult(hr);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXCEPINFO excep = {};
    UINT argError = 0;
    UniqueVariant value;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.get(), &excep, &argError);
    // The exception's strings are ours to free, whatever the outcome.
    UniqueBstr source(excep.bstrSource), description(excep.bstrDescription), helpFile(excep.bstrHelpFile);
    if (FAILED(hr)) throw Error::FromHresult(hr);
    return value;
}

// One argument's contribution: the file object's property of that name, or the value itself.
// Throws when neither can be had; the caller skips the step then.
UniqueVariant ValueOrProperty(const VARIANT* arg, const wchar_t* property) {
    if (ComPtr<IDispatch> file = FileObjectOf(arg)) return GetProperty(file.get(), property);
    UniqueVariant copy;
    const HRESULT hr = VariantCopy(copy.get(), const_cast<VARIANT*>(&Deref(*arg)));
    if (FAILED(hr)) throw Error::FromHresult(hr);
    return copy;
}

namespace {

bool Given(const VARIANT* v) noexcept { return v && !IsMissing(*v); }

}  // namespace

std::wstring FilePathOf(const VARIANT* file) noexcept {
    std::wstring path;
    if (file && IsObject(*file)) {
        Step([&] {
            if (ComPtr<IDispatch> object = FileObjectOf(file)) path = ToString(*GetProperty(object.get(), L"Path").get());
        });
    } else if (file) {
        Step([&] { path = ToString(*file); });
    }
    return path;
}

FileValue<double> FileDateOf(const VARIANT* arg, const wchar_t* property) noexcept {
    FileValue<double> date;
    date.given = Given(arg);
    if (date.given) Step([&] { date.value = ToDate(*ValueOrProperty(arg, property).get()); });
    return date;
}

FileValue<DWORD> FileAttributesOf(const VARIANT* arg) noexcept {
    FileValue<DWORD> attributes;
    attributes.given = Given(arg);
    if (attributes.given)
        Step([&] { attributes.value = static_cast<DWORD>(ToLong(*ValueOrProperty(arg, L"Attributes").get())); });
    return attributes;
}

}  // namespace ombrisk
