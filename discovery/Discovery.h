// Where the host is installed and which settings files it uses, worked out at creation from
// the environment, the process command line, the library's folder and the host's registry key.
#pragma once

#include <string>

namespace ombrisk {

std::wstring FindTCPath();
std::wstring FindMainIni(const std::wstring& tcPath);
std::wstring FindFtpIni(const std::wstring& tcPath);

}  // namespace ombrisk
