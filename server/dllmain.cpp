// The in-process server entry points.
#include <windows.h>
#include <objbase.h>

#include "generated/Ombrisk_h.h"
#include "platform/Module.h"
#include "platform/ReplyWindow.h"
#include "server/ClassFactory.h"
#include "server/Registration.h"
#include "server/TypeInfo.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ombrisk::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary, not at process exit: oleaut32 and user32 are still usable, and
        // no reply window is left (DllCanUnloadNow says no while one exists).
        ombrisk::ReleaseTypeInfo();
        ombrisk::UnregisterReplyWindowClass();
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (clsid != CLSID_Helper) return CLASS_E_CLASSNOTAVAILABLE;
    return ombrisk::HelperClassFactory()->QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ombrisk::ModuleInUse() ? S_FALSE : S_OK; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    return ombrisk::RegisterServer(ombrisk::RegistrationScope::Machine);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return ombrisk::UnregisterServer(ombrisk::RegistrationScope::Machine);
}

// regsvr32 /n /i:user registers for the current user only; /u /n /i:user undoes that.
// Without "user" the machine-wide registration is written or removed.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR cmdLine) {
    const bool user = cmdLine && lstrcmpiW(cmdLine, L"user") == 0;
    const auto scope = user ? ombrisk::RegistrationScope::User : ombrisk::RegistrationScope::Machine;
    return install ? ombrisk::RegisterServer(scope) : ombrisk::UnregisterServer(scope);
}
