// The in-process server entry points.
#include <windows.h>
#include <objbase.h>

#include "generated/Ombrisk_h.h"
#include "host/HostRights.h"
#include "platform/Raii.h"
#include "platform/Module.h"
#include "platform/ReplyWindow.h"
#include "server/ClassFactory.h"
#include "server/Registration.h"
#include "server/TypeInfo.h"

#include <string>
#include <string_view>

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

// rundll32 Ombrisk.dll,RightsCheck <file>: writes "rights=<word>" to the file (ANSI), the word
// telling whether this process (started by the script that asks, with its rights) and the file
// manager can talk: same, host-higher, script-higher, or unknown (no file manager, or a level
// that cannot be read). For the diagnostic script, which cannot read another process's rights.
// rundll32 hands over the rest of its command line as it is: blanks and quotes around the path
// are dropped.
extern "C" void CALLBACK RightsCheckW(HWND, HINSTANCE, LPWSTR cmdLine, int) {
    try {
        std::wstring path = cmdLine ? cmdLine : L"";
        const size_t first = path.find_first_not_of(L" \t\"");
        const size_t last = path.find_last_not_of(L" \t\"");
        if (first == std::wstring::npos) return;
        path = path.substr(first, last - first + 1);
        const std::string_view word = ombrisk::RightsGapWord(ombrisk::HostRightsGap());
        const std::string text = "rights=" + std::string(word) + "\r\n";
        const ombrisk::UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } catch (...) {
        // Nothing escapes into rundll32: no file means "unknown" to the script.
    }
}
