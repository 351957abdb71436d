// unloadclient.exe: loads Ombrisk.dll itself (as COM does), creates an object through the class
// factory, releases everything, unloads the DLL and loads it again. The reply window's class
// must go with the DLL: a class left registered would point at code that is no longer there.
#include "ClientReport.h"

#include <string>

using client_report::Check;
using client_report::Info;

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

const char kReplyClass[] = "OmbriskReplyWindow";

// The registered server's path: HKCR\CLSID\{...}\InprocServer32.
std::wstring ServerPath(const CLSID& clsid) {
    wchar_t guid[64] = {};
    StringFromGUID2(clsid, guid, 64);
    const std::wstring key = std::wstring(L"CLSID\\") + guid + L"\\InprocServer32";
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = sizeof(path);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return {};
    return path;
}

bool ClassRegistered(HMODULE module) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    return GetClassInfoExA(module, kReplyClass, &wc) != FALSE;
}

// One round: load, create an object (which makes the reply window), release, unload.
void Round(const std::wstring& path, const CLSID& clsid, const char* name) {
    const std::string round(name);
    HMODULE dll = LoadLibraryW(path.c_str());
    Check(dll != nullptr, round + ": the DLL loads");
    if (!dll) return;
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll, "DllGetClassObject"));
    auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(GetProcAddress(dll, "DllCanUnloadNow"));
    Check(getClassObject && canUnloadNow, round + ": it exports DllGetClassObject and DllCanUnloadNow");
    if (!getClassObject || !canUnloadNow) return;

    IClassFactory* factory = nullptr;
    getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    IDispatch* object = nullptr;
    if (factory) factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
    Check(object != nullptr, round + ": an object is created through the class factory");
    Check(FindWindowA(kReplyClass, nullptr) != nullptr, round + ": creating it made the reply window");
    Check(canUnloadNow() == S_FALSE, round + ": DllCanUnloadNow says no while the object lives");
    if (object) object->Release();
    if (factory) factory->Release();
    Check(FindWindowA(kReplyClass, nullptr) == nullptr, round + ": releasing it destroyed the reply window");
    Check(canUnloadNow() == S_OK, round + ": DllCanUnloadNow says yes once everything is released");
    Check(ClassRegistered(dll), round + ": the reply window's class is registered while the DLL is loaded");

    FreeLibrary(dll);
    Check(GetModuleHandleW(path.c_str()) == nullptr, round + ": FreeLibrary unloaded the DLL");
    Check(!ClassRegistered(dll), round + ": the reply window's class went with the DLL");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!client_report::OpenReport(argc, argv)) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CLSID clsid{};
    const bool registered = SUCCEEDED(CLSIDFromProgID(L"Ombrisk.Helper", &clsid));
    const std::wstring path = registered ? ServerPath(clsid) : std::wstring();
    Check(!path.empty(), "the server's path is registered");
    if (!path.empty()) {
        Info("server " + std::string(path.begin(), path.end()));
        Round(path, clsid, "first load");
        Round(path, clsid, "second load");
    }
    CoUninitialize();
    return client_report::FinishReport();
}
