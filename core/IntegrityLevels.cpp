#include "core/IntegrityLevels.h"

namespace ombrisk {

RightsGap CompareIntegrity(std::optional<uint32_t> script, std::optional<uint32_t> host) {
    if (!script || !host) return RightsGap::Unknown;
    if (*host > *script) return RightsGap::HostHigher;
    if (*script > *host) return RightsGap::ScriptHigher;
    return RightsGap::Same;
}

std::string_view RightsGapWord(RightsGap gap) {
    switch (gap) {
    case RightsGap::Same: return "same";
    case RightsGap::HostHigher: return "host-higher";
    case RightsGap::ScriptHigher: return "script-higher";
    default: return "unknown";
    }
}

}  // namespace ombrisk
