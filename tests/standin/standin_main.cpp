// standin.exe: the stand-in host for the Wine tests ("host <config>") and its control tool
// ("ctl ..."). A GUI program, so starting it from a script never opens a console window.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "standin.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < argc; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    try {
        if (args.size() == 2 && args[0] == L"host") return ombrisk::standin::run_host(args[1]);
        if (!args.empty() && args[0] == L"ctl") return ombrisk::standin::run_ctl({args.begin() + 1, args.end()});
        return ombrisk::standin::run_ctl({});
    } catch (...) {
        // Nothing escapes into the loader; a failure shows as exit code 3.
        return 3;
    }
}
