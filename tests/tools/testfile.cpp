// OmbriskTestFile.dll: a script-settable stand-in for a scripting runtime's file object, created
// as "OmbriskTest.File". Every property is a plain value the script sets and reads back:
//   Path, DateCreated, DateLastModified, DateLastAccessed, Attributes
// and three that shape how the object looks to its callers:
//   DispatchTypeName  name of the type information IDispatch::GetTypeInfo gives ("File";
//                     empty: the object offers none)
//   ClassTypeName     name of the class type information IProvideClassInfo gives (empty, the
//                     default: the object does not offer the interface)
//   Missing           names (separated by commas) that GetIDsOfNames does not know, as an object
//                     without such a property
//   Reads             how many property reads of the five file properties the object served
// Registered for the machine (HKLM\Software\Classes): Wine's COM does not look at per-user classes.
#include "platform/Raii.h"

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

#include <atomic>
#include <cwchar>
#include <new>
#include <string>

namespace {

using namespace ombrisk;

// {5B1C6A52-8E0B-4C3F-9F1D-2A7E4B6C9D31}
const CLSID kClsid = {0x5b1c6a52, 0x8e0b, 0x4c3f, {0x9f, 0x1d, 0x2a, 0x7e, 0x4b, 0x6c, 0x9d, 0x31}};
const wchar_t kProgId[] = L"OmbriskTest.File";
const wchar_t kClsidText[] = L"{5B1C6A52-8E0B-4C3F-9F1D-2A7E4B6C9D31}";

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
HMODULE g_module = nullptr;

const wchar_t* const kNames[] = {L"Path",       L"DateCreated",      L"DateLastModified", L"DateLastAccessed",
                                 L"Attributes", L"DispatchTypeName", L"ClassTypeName",    L"Missing",
                                 L"Reads"};
constexpr int kNameCount = sizeof kNames / sizeof kNames[0];
constexpr int kFileProperties = 5;
constexpr int kDispatchTypeName = 5, kClassTypeName = 6, kMissing = 7, kReads = 8;

// Type information that only knows its own name: enough for a caller's TypeName.
class NamedTypeInfo final : public ITypeInfo {
public:
    explicit NamedTypeInfo(std::wstring name) : name_(std::move(name)) { ++g_objects; }
    ~NamedTypeInfo() { --g_objects; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ITypeInfo) {
            *ppv = static_cast<ITypeInfo*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    STDMETHODIMP GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context, BSTR* helpFile) override {
        if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
        if (name) *name = SysAllocString(name_.c_str());
        if (doc) *doc = nullptr;
        if (context) *context = 0;
        if (helpFile) *helpFile = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetTypeAttr(TYPEATTR**) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
    STDMETHODIMP GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
    STDMETHODIMP GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
    STDMETHODIMP GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override { return E_NOTIMPL; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP_(void) ReleaseTypeAttr(TYPEATTR*) override {}
    STDMETHODIMP_(void) ReleaseFuncDesc(FUNCDESC*) override {}
    STDMETHODIMP_(void) ReleaseVarDesc(VARDESC*) override {}

private:
    std::atomic<ULONG> refs_{1};
    std::wstring name_;
};

std::wstring TextOf(const VARIANT& v) {
    if (V_VT(&v) != VT_BSTR || !V_BSTR(&v)) return {};
    return std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
}

class TestFile final : public IDispatch, public IProvideClassInfo {
public:
    TestFile() {
        ++g_objects;
        V_VT(values_[kDispatchTypeName].get()) = VT_BSTR;
        V_BSTR(values_[kDispatchTypeName].get()) = SysAllocString(L"File");
    }
    ~TestFile() { --g_objects; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch) *ppv = static_cast<IDispatch*>(this);
        else if (riid == IID_IProvideClassInfo && !TextOf(*values_[kClassTypeName].get()).empty())
            *ppv = static_cast<IProvideClassInfo*>(this);
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }

    STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = new (std::nothrow) NamedTypeInfo(TextOf(*values_[kClassTypeName].get()));
        return *info ? S_OK : E_OUTOFMEMORY;
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = TextOf(*values_[kDispatchTypeName].get()).empty() ? 0 : 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        const std::wstring name = TextOf(*values_[kDispatchTypeName].get());
        if (index != 0 || name.empty()) return DISP_E_BADINDEX;
        *info = new (std::nothrow) NamedTypeInfo(name);
        return *info ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        std::wstring missing = L"," + TextOf(*values_[kMissing].get()) + L",";
        CharLowerBuffW(missing.data(), static_cast<DWORD>(missing.size()));
        for (int k = 0; k < kNameCount; ++k) {
            if (_wcsicmp(names[0], kNames[k]) != 0) continue;
            std::wstring probe = L"," + std::wstring(kNames[k]) + L",";
            CharLowerBuffW(probe.data(), static_cast<DWORD>(probe.size()));
            if (k < kFileProperties && missing.find(probe) != std::wstring::npos) break;
            ids[0] = k + 1;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (id < 1 || id > kNameCount) return DISP_E_MEMBERNOTFOUND;
        const int k = id - 1;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            if (k == kReads) return DISP_E_MEMBERNOTFOUND;
            UniqueVariant value;
            const HRESULT hr = VariantCopyInd(value.get(), &params->rgvarg[0]);
            if (FAILED(hr)) return hr;
            values_[k] = std::move(value);
            return S_OK;
        }
        if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        if (!result) return S_OK;
        if (k == kReads) {
            VariantInit(result);
            V_VT(result) = VT_I4;
            V_I4(result) = reads_;
            return S_OK;
        }
        if (k < kFileProperties) ++reads_;
        VariantInit(result);
        return VariantCopy(result, values_[k].get());
    }

private:
    std::atomic<ULONG> refs_{1};
    UniqueVariant values_[kNameCount];
    long reads_ = 0;
};

class Factory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        TestFile* object = new (std::nothrow) TestFile();
        if (!object) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) ++g_locks;
        else --g_locks;
        return S_OK;
    }
};

Factory g_factory;

bool SetKey(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    UniqueHkey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (clsid != kClsid) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT WINAPI DllRegisterServer() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return E_FAIL;
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring clsidKey = classes + L"CLSID\\" + kClsidText;
    const bool ok = SetKey(classes + kProgId, nullptr, L"Ombrisk test file object") &&
                    SetKey(classes + kProgId + L"\\CLSID", nullptr, kClsidText) &&
                    SetKey(clsidKey, nullptr, L"Ombrisk test file object") &&
                    SetKey(clsidKey + L"\\ProgID", nullptr, kProgId) &&
                    SetKey(clsidKey + L"\\InprocServer32", nullptr, path) &&
                    SetKey(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    return ok ? S_OK : E_FAIL;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    const std::wstring classes = L"Software\\Classes\\";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classes + kProgId).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classes + L"CLSID\\" + kClsidText).c_str());
    return S_OK;
}
