#include "chores/FileDates.h"

#include "server/Errors.h"
#include "server/Variants.h"
#include "platform/Raii.h"

#include <ocidl.h>

#include <optional>

namespace ombrisk {

namespace {

bool Given(const VARIANT* v) noexcept { return v && !IsMissing(*v); }

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

// The script's file object behind v, or null when v is not one.
ComPtr<IDispatch> FileObjectOf(const VARIANT* v) {
    ComPtr<IDispatch> object = DispatchOf(v);
    if (object && TypeNameOf(object.get()) != L"File") object.reset();
    return object;
}

// Reads a property by name (late binding). Throws ScriptError with the object's failure.
UniqueVariant GetProperty(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw ScriptError(hr);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXCEPINFO excep = {};
    UINT argError = 0;
    UniqueVariant value;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.get(), &excep, &argError);
    // The exception's strings are ours to free, whatever the outcome.
    UniqueBstr source(excep.bstrSource), description(excep.bstrDescription), helpFile(excep.bstrHelpFile);
    if (FAILED(hr)) throw ScriptError(hr);
    return value;
}

// One argument's contribution: the file object's property of that name, or the value itself.
// Throws when neither can be had; the caller skips the step then.
UniqueVariant ValueOrProperty(const VARIANT* arg, const wchar_t* property) {
    if (ComPtr<IDispatch> file = FileObjectOf(arg)) return GetProperty(file.get(), property);
    UniqueVariant copy;
    const HRESULT hr = VariantCopy(copy.get(), const_cast<VARIANT*>(&Deref(*arg)));
    if (FAILED(hr)) throw ScriptError(hr);
    return copy;
}

// Runs one step of the method; a step that fails in any way leaves its item as it was.
template <typename F>
void Step(F&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

// A local automation date as a UTC file time; nothing for dates the platform cannot represent
// (before 1601) and for the zero date, which is what an argument that could not be converted
// leaves when the file's own times were not read.
std::optional<FILETIME> ToFileTime(double date) {
    if (date == 0) return std::nullopt;
    SYSTEMTIME st = {};
    if (!VariantTimeToSystemTime(date, &st)) return std::nullopt;
    st.wDayOfWeek = 0;
    st.wMilliseconds = 0;
    FILETIME local = {}, utc = {};
    if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return std::nullopt;
    return utc;
}

double ToLocalDate(const FILETIME& utc) {
    FILETIME local = {};
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    st.wMilliseconds = 0;
    double date = 0;
    SystemTimeToVariantTime(&st, &date);
    return date;
}

}  // namespace

bool GetFileTimes(const std::wstring& path, double& created, double& modified, double& accessed) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    if (!file) return false;
    FILETIME creation = {}, lastAccess = {}, lastWrite = {};
    if (!GetFileTime(file.get(), &creation, &lastAccess, &lastWrite)) return false;
    created = ToLocalDate(creation);
    modified = ToLocalDate(lastWrite);
    accessed = ToLocalDate(lastAccess);
    return true;
}

bool SetFileTimes(const std::wstring& path, double created, double modified, double accessed) {
    const std::optional<FILETIME> creation = ToFileTime(created);
    const std::optional<FILETIME> lastWrite = ToFileTime(modified);
    const std::optional<FILETIME> lastAccess = ToFileTime(accessed);
    if (!creation || !lastWrite || !lastAccess) return false;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    if (!file) return false;
    // The platform may refuse the times (a file system or share that keeps no such dates, a
    // driver that denies the change): the caller then reports that nothing was set.
    return SetFileTime(file.get(), &*creation, &*lastAccess, &*lastWrite) != FALSE;
}

bool SetFileDateAtr(const VARIANT* file, const VARIANT* created, const VARIANT* modified, const VARIANT* accessed,
                    const VARIANT* attributes) noexcept {
    try {
        std::wstring path;
        if (file && IsObject(*file)) {
            Step([&] {
                if (ComPtr<IDispatch> object = FileObjectOf(file)) path = ToString(*GetProperty(object.get(), L"Path").get());
            });
        } else if (file) {
            Step([&] { path = ToString(*file); });
        }
        if (path.empty()) return false;

        const DWORD original = GetFileAttributesW(path.c_str());
        if (original == INVALID_FILE_ATTRIBUTES) return false;
        DWORD wanted = original;
        // A read-only file is made writable for the change; every failure after this point puts
        // the attributes back, so a refused call never leaves the file writable.
        bool restore = false;
        ScopeExit putBack([&] {
            if (restore) SetFileAttributesW(path.c_str(), original);
        });
        if (original & FILE_ATTRIBUTE_READONLY) {
            if (!SetFileAttributesW(path.c_str(), original & ~FILE_ATTRIBUTE_READONLY)) return false;
            restore = true;
        }

        double times[3] = {0, 0, 0};  // created, modified, accessed
        const VARIANT* args[3] = {created, modified, accessed};
        static const wchar_t* const kProperties[3] = {L"DateCreated", L"DateLastModified", L"DateLastAccessed"};
        if (!Given(created) || !Given(modified) || !Given(accessed)) {
            if (!GetFileTimes(path, times[0], times[1], times[2])) return false;
        }
        for (int i = 0; i < 3; ++i) {
            if (Given(args[i])) Step([&] { times[i] = ToDate(*ValueOrProperty(args[i], kProperties[i]).get()); });
        }
        if (Given(attributes)) {
            Step([&] { wanted = static_cast<DWORD>(ToLong(*ValueOrProperty(attributes, L"Attributes").get())); });
        }

        if (!SetFileTimes(path, times[0], times[1], times[2])) return false;
        if (!SetFileAttributesW(path.c_str(), wanted)) return false;
        restore = false;
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace ombrisk
