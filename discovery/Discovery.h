// Where the host is installed and which settings files it uses, worked out at creation from
// the environment, the process command line, the library's folder and the host's registry key.
#pragma once

#include <string>

namespace ombrisk {

// TCPath: COMMANDER_PATH, else the library's folder when it holds totalcmd.exe, else the
// registry's InstallDir; empty when none.
std::wstring FindTCPath();
// MainINI / FTPINI: the environment, the process's command-line switch, the registry, else the
// default file name.
std::wstring FindMainIni(const std::wstring& tcPath);
std::wstring FindFtpIni(const std::wstring& tcPath);

}  // namespace ombrisk
