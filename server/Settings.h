// One object's settings: what the script sets through the properties, read once when it is set,
// and the installation paths found at creation.
#pragma once

#include "platform/Pause.h"
#include "platform/Raii.h"

#include <string>

namespace ombrisk {

struct Settings {
    static constexpr SHORT kDefaultPauseMs = 70;

    Settings() noexcept { pauseValue.SetI2(kDefaultPauseMs); }

    UniqueVariant pauseValue;                            // Pause as the script set it, for the get
    Pause pause = Pause::Milliseconds(kDefaultPauseMs);  // the same, read as milliseconds
    bool wait = false;                                   // send and wait for host commands instead of posting them
    bool noArrayReturn = false;                          // lists come back as one CR LF joined string
    bool debugEnabled = true;                            // DbgPrint writes
    std::wstring tcPath;
    std::wstring mainIni;
    std::wstring ftpIni;
};

}  // namespace ombrisk
