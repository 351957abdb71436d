// GetIniFiles: asks the running host which settings files it uses, through the dialog its
// command 690 opens, without the user seeing the dialog or hearing its sound.
#pragma once

#include "host/HostWindow.h"

#include <optional>
#include <string>

namespace ombrisk {

struct HostSettingsFiles {
    std::wstring mainIni;
    std::wstring ftpIni;
};

// The two paths the host's dialog lists; nothing when either cannot be read, and at once when the
// host is not the one bound at creation. The asterisk sound is restored and a dialog found is
// closed on every path.
std::optional<HostSettingsFiles> GetIniFiles(const HostBinding& host);

}  // namespace ombrisk
