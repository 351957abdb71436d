#include "server/Registration.h"

#include "generated/Ombrisk_h.h"
#include "platform/Module.h"
#include "platform/Raii.h"

#include <string>
#include <vector>

namespace ombrisk {

namespace {

// The identities as the type library declares them (server/Ombrisk.idl).
std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}
const wchar_t kProgId[] = OMBRISK_PROGID;
const wchar_t kDispatchProxy[] = L"{00020424-0000-0000-C000-000000000046}";  // automation marshaler

// The type library's platform subkey this DLL writes: its own SYSKIND.
#ifdef _WIN64
const wchar_t kPlatform[] = L"win64";
const wchar_t kOtherPlatform[] = L"win32";
#else
const wchar_t kPlatform[] = L"win32";
const wchar_t kOtherPlatform[] = L"win64";
#endif

struct Value {
    std::wstring key;     // below the Classes root
    const wchar_t* name;  // null: the key's default value
    std::wstring data;
};

std::wstring ClsidKey() { return L"CLSID\\" + GuidText(CLSID_Helper); }
std::wstring InterfaceKey() { return L"Interface\\" + GuidText(IID__Helper); }
std::wstring TypeLibKey() { return L"TypeLib\\" + GuidText(LIBID_Ombrisk); }
std::wstring TypeLibLcidKey() { return TypeLibKey() + L"\\1.0\\0"; }

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::vector<Value> Values() {
    const std::wstring path = ModulePath();
    const std::wstring clsidKey = ClsidKey();
    const std::wstring libKey = TypeLibKey() + L"\\1.0";
    const std::wstring ifKey = InterfaceKey();
    return {
        {clsidKey, nullptr, L"Ombrisk helper object"},
        {clsidKey + L"\\InprocServer32", nullptr, path},
        {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsidKey + L"\\ProgID", nullptr, kProgId},
        {clsidKey + L"\\VersionIndependentProgID", nullptr, kProgId},
        {clsidKey + L"\\TypeLib", nullptr, GuidText(LIBID_Ombrisk)},
        {clsidKey + L"\\Version", nullptr, L"1.0"},
        {clsidKey + L"\\Programmable", nullptr, L""},
        {kProgId, nullptr, L"Ombrisk helper object"},
        {std::wstring(kProgId) + L"\\CLSID", nullptr, GuidText(CLSID_Helper)},
        {libKey, nullptr, L"Ombrisk"},
        {libKey + L"\\FLAGS", nullptr, L"0"},
        {libKey + L"\\HELPDIR", nullptr, FolderOf(path)},
        {libKey + L"\\0\\" + kPlatform, nullptr, path},
        {ifKey, nullptr, L"_Helper"},
        {ifKey + L"\\ProxyStubClsid", nullptr, kDispatchProxy},
        {ifKey + L"\\ProxyStubClsid32", nullptr, kDispatchProxy},
        {ifKey + L"\\TypeLib", nullptr, GuidText(LIBID_Ombrisk)},
        {ifKey + L"\\TypeLib", L"Version", L"1.0"},
    };
}

// The registry view of the other bitness as a KEY_WOW64_* flag, or 0 when the system has only
// one view (a 32-bit DLL on 32-bit Windows).
REGSAM OtherView() noexcept {
#ifdef _WIN64
    return KEY_WOW64_32KEY;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? KEY_WOW64_64KEY : 0;
#endif
}

HKEY BaseKey(RegistrationScope scope) {
    return scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HRESULT OpenClassesRoot(RegistrationScope scope, REGSAM access, UniqueHkey& root) {
    const LONG rc =
        RegCreateKeyExW(BaseKey(scope), L"Software\\Classes", 0, nullptr, 0, access, nullptr, root.put(), nullptr);
    return HRESULT_FROM_WIN32(rc);
}

// A key's path from HKLM or HKCU. Keys of the other view are always opened by such a full path:
// Wine ignores KEY_WOW64_32KEY on a path opened below a handle of the 64-bit view's
// Software\Classes and opens the 64-bit key.
std::wstring FullPath(const std::wstring& path) { return L"Software\\Classes\\" + path; }

bool KeyExists(HKEY base, const std::wstring& path, REGSAM view) {
    UniqueHkey key;
    return RegOpenKeyExW(base, FullPath(path).c_str(), 0, KEY_QUERY_VALUE | view, key.put()) == ERROR_SUCCESS;
}

bool HasSubkeys(HKEY root, const std::wstring& path) {
    UniqueHkey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0;
    return RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys != 0;
}

std::wstring ReadDefault(HKEY root, const std::wstring& path) {
    UniqueHkey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

// Deletes the Classes key path with everything below it in the given view (0: this process's
// own). The key is opened in that view first and emptied through its handle, so that no
// relative open falls back to this process's view. A missing key is success.
LONG DeleteTreeInView(HKEY base, const std::wstring& path, REGSAM view) {
    const std::wstring full = FullPath(path);
    UniqueHkey key;
    LONG rc = RegOpenKeyExW(base, full.c_str(), 0, KEY_ALL_ACCESS | view, key.put());
    if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegDeleteTreeW(key.get(), nullptr);
    key.reset();
    if (rc == ERROR_SUCCESS) rc = RegDeleteKeyExW(base, full.c_str(), view, 0);
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
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
        LONG failed = ERROR_SUCCESS;
        auto remove = [&](const std::wstring& path, REGSAM view) {
            const LONG rc = DeleteTreeInView(BaseKey(scope), path, view);
            if (rc != ERROR_SUCCESS) failed = rc;
        };
        // This view's own keys.
        remove(ClsidKey(), 0);
        remove(InterfaceKey(), 0);
        remove(TypeLibLcidKey() + L"\\" + kPlatform, 0);
        // The shared keys stay while the other view still registers the class; where the views
        // are not separate (one view only, or a registry that shares these keys), the check finds
        // the class gone and everything goes.
        const REGSAM other = OtherView();
        const bool otherRegistered = other != 0 && KeyExists(BaseKey(scope), ClsidKey() + L"\\InprocServer32", other);
        if (!otherRegistered) {
            remove(kProgId, 0);
            remove(TypeLibKey(), 0);
            if (other != 0) {  // a registry that keeps these keys per view has a copy there too
                remove(kProgId, other);
                remove(TypeLibKey(), other);
            }
        } else if (!HasSubkeys(root.get(), TypeLibLcidKey())) {
            remove(TypeLibKey(), 0);  // the type library key is per view here: this view's copy is empty
        } else {
            // The remaining platform's folder becomes the help folder of the shared key.
            const std::wstring otherPath = ReadDefault(root.get(), TypeLibLcidKey() + L"\\" + kOtherPlatform);
            UniqueHkey lib;
            if (!otherPath.empty() && RegOpenKeyExW(root.get(), (TypeLibKey() + L"\\1.0\\HELPDIR").c_str(), 0, KEY_SET_VALUE,
                                                    lib.put()) == ERROR_SUCCESS) {
                const std::wstring folder = FolderOf(otherPath);
                RegSetValueExW(lib.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                               static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
            }
        }
        return HRESULT_FROM_WIN32(failed);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace ombrisk
