#include "discovery/Discovery.h"

#include "core/DiscoveryText.h"
#include "platform/GrowingRead.h"
#include "platform/Registry.h"
#include "platform/Module.h"
#include "platform/Raii.h"
#include "platform/Text.h"

#include <windows.h>

namespace ombrisk {

namespace {

const wchar_t kHostKey[] = L"SOFTWARE\\Ghisler\\Total Commander";
const wchar_t kProgramFile[] = L"totalcmd.exe";

std::wstring Environment(const wchar_t* name) {
    return *ReadGrowing<std::wstring>(256, [&](wchar_t* data, size_t size) {
        // Too small: the size it needs, its NUL counted. 0: no such variable (or empty).
        const DWORD n = GetEnvironmentVariableW(name, data, static_cast<DWORD>(size));
        return n < size ? Attempt::Read(n) : Attempt::Again(n);
    });
}

// A value under HKLM. A 32-bit installer writes machine-wide values that a 64-bit process
// finds only in the 32-bit view (Wow6432Node): the x64 DLL looks there second.
std::wstring ReadMachineValue(const wchar_t* valueName) {
    std::wstring v = ReadRegValue(HKEY_LOCAL_MACHINE, kHostKey, valueName);
#ifdef _WIN64
    if (v.empty()) v = ReadRegValue(HKEY_LOCAL_MACHINE, kHostKey, valueName, KEY_WOW64_32KEY);
#endif
    return v;
}

std::wstring WithBackslash(const std::wstring& path) { return ToWide(AddBackslash(AsU16(path))); }

// A normal file: not a folder, not hidden, not a system file.
bool IsNormalFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

// The library's folder when it holds a normal file named exactly "totalcmd.exe", with case.
std::wstring LibraryFolderWithProgram() {
    const std::wstring module = ModulePath();
    std::wstring folder = module.substr(0, module.find_last_of(L'\\'));
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    WIN32_FIND_DATAW found{};
    const UniqueFind search(FindFirstFileW((WithBackslash(folder) + kProgramFile).c_str(), &found));
    if (!search) return {};
    if (!IsNormalFile(found.dwFileAttributes) || lstrcmpW(found.cFileName, kProgramFile) != 0) return {};
    return folder;
}

std::wstring SwitchFromCommandLine(const wchar_t* key) {
    const std::u16string_view args = CommandLineArguments(AsU16(GetCommandLineW()));
    return ToWide(SwitchValue(args, AsU16(key)));
}

std::wstring FindIni(const std::wstring& tcPath, const wchar_t* envName, const wchar_t* switchKey, const wchar_t* valueName,
                     const wchar_t* fallback) {
    std::wstring v;
    if (envName) {
        v = Environment(envName);
        if (!v.empty()) return v;
    }
    v = SwitchFromCommandLine(switchKey);
    if (!v.empty()) return v;
    v = ReadRegValue(HKEY_CURRENT_USER, kHostKey, valueName);
    if (v.empty()) v = ReadMachineValue(valueName);
    if (v.empty()) return fallback;
    return ToWide(ExpandIniPath(AsU16(v), AsU16(tcPath), AsU16(Environment(L"USERPROFILE"))));
}

}  // namespace

std::wstring FindTCPath() {
    std::wstring v = Environment(L"COMMANDER_PATH");
    if (!v.empty()) return v;
    v = LibraryFolderWithProgram();
    if (!v.empty()) return v;
    v = ReadRegValue(HKEY_CURRENT_USER, kHostKey, L"InstallDir");
    if (!v.empty() && IsNormalFile(GetFileAttributesW((WithBackslash(v) + kProgramFile).c_str()))) return v;
    return ReadMachineValue(L"InstallDir");
}

std::wstring FindMainIni(const std::wstring& tcPath) {
    return FindIni(tcPath, L"COMMANDER_INI", L"i=", L"IniFileName", L"wincmd.ini");
}

std::wstring FindFtpIni(const std::wstring& tcPath) {
    return FindIni(tcPath, nullptr, L"f=", L"FtpIniName", L"wcx_ftp.ini");
}

}  // namespace ombrisk
