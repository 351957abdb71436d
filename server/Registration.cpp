#include "server/Registration.h"

#include "server/Module.h"
#include "util/Raii.h"

#include <string>
#include <vector>

namespace ombrisk {

namespace {

const wchar_t kClsid[] = L"{3890865D-5A76-461F-8868-A39B7E567D7D}";
const wchar_t kLibid[] = L"{68B1EFAF-0B02-4020-B374-32A94FBE2741}";
const wchar_t kIid[] = L"{02ACAA0E-1016-4E54-8BEA-F60FD8228362}";
const wchar_t kProgId[] = L"Ombrisk.Helper";
const wchar_t kDispatchProxy[] = L"{00020424-0000-0000-C000-000000000046}";  // automation marshaler

struct Value {
    std::wstring key;   // below the Classes root
    const wchar_t* name;  // null: the key's default value
    std::wstring data;
};

// The top-level keys registration creates; deleting these trees undoes all of it.
std::vector<std::wstring> OwnedKeys() {
    return {std::wstring(L"CLSID\\") + kClsid, kProgId, std::wstring(L"TypeLib\\") + kLibid,
            std::wstring(L"Interface\\") + kIid};
}

std::vector<Value> Values() {
    const std::wstring path = ModulePath();
    std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsid;
    const std::wstring libKey = std::wstring(L"TypeLib\\") + kLibid + L"\\1.0";
    const std::wstring ifKey = std::wstring(L"Interface\\") + kIid;
    return {
        {clsidKey, nullptr, L"Ombrisk helper object"},
        {clsidKey + L"\\InprocServer32", nullptr, path},
        {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsidKey + L"\\ProgID", nullptr, kProgId},
        {clsidKey + L"\\VersionIndependentProgID", nullptr, kProgId},
        {clsidKey + L"\\TypeLib", nullptr, kLibid},
        {clsidKey + L"\\Version", nullptr, L"1.0"},
        {clsidKey + L"\\Programmable", nullptr, L""},
        {kProgId, nullptr, L"Ombrisk helper object"},
        {std::wstring(kProgId) + L"\\CLSID", nullptr, kClsid},
        {libKey, nullptr, L"Ombrisk"},
        {libKey + L"\\FLAGS", nullptr, L"0"},
        {libKey + L"\\HELPDIR", nullptr, folder},
        {libKey + L"\\0\\win32", nullptr, path},
        {ifKey, nullptr, L"_Helper"},
        {ifKey + L"\\ProxyStubClsid", nullptr, kDispatchProxy},
        {ifKey + L"\\ProxyStubClsid32", nullptr, kDispatchProxy},
        {ifKey + L"\\TypeLib", nullptr, kLibid},
        {ifKey + L"\\TypeLib", L"Version", L"1.0"},
    };
}

HRESULT OpenClassesRoot(RegistrationScope scope, REGSAM access, UniqueHkey& root) {
    HKEY base = scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const LONG rc = RegCreateKeyExW(base, L"Software\\Classes", 0, nullptr, 0, access, nullptr, root.put(), nullptr);
    return HRESULT_FROM_WIN32(rc);
}

}  // namespace

HRESULT RegisterServer(RegistrationScope scope) noexcept {
    try {
        UniqueHkey root;
        HRESULT hr = OpenClassesRoot(scope, KEY_ALL_ACCESS, root);
        if (FAILED(hr)) return hr;
        for (const Value& v : Values()) {
            UniqueHkey key;
            LONG rc = RegCreateKeyExW(root.get(), v.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
            if (rc == ERROR_SUCCESS)
                rc = RegSetValueExW(key.get(), v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.data.c_str()),
                                    static_cast<DWORD>((v.data.size() + 1) * sizeof(wchar_t)));
            if (rc != ERROR_SUCCESS) {
                UnregisterServer(scope);
                return HRESULT_FROM_WIN32(rc);
            }
        }
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer(RegistrationScope scope) noexcept {
    try {
        UniqueHkey root;
        HRESULT hr = OpenClassesRoot(scope, KEY_ALL_ACCESS, root);
        if (FAILED(hr)) return hr;
        HRESULT result = S_OK;
        for (const std::wstring& key : OwnedKeys()) {
            const LONG rc = RegDeleteTreeW(root.get(), key.c_str());
            if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) result = HRESULT_FROM_WIN32(rc);
        }
        return result;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace ombrisk
