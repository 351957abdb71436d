// Whether the script and the file manager run with rights that let them talk. Windows drops
// the window messages and the input that a process sends to one of a higher integrity level,
// so a script below the file manager cannot reach it, and the file manager's answers never
// reach a script above it. Levels are the last part of the token's mandatory label:
// 0x1000 low, 0x2000 medium (a normal program), 0x3000 high (run as administrator),
// 0x4000 system. Standard C++ only.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ombrisk {

enum class RightsGap {
    Same,          // neither is above the other
    HostHigher,    // the file manager runs as administrator and the script does not
    ScriptHigher,  // the script runs as administrator and the file manager does not
    Unknown,       // a level could not be read
};

// The gap between the script's level and the file manager's; Unknown when either is missing.
RightsGap CompareIntegrity(std::optional<uint32_t> script, std::optional<uint32_t> host);

// The word for a gap in the rights check's output: same, host-higher, script-higher, unknown.
std::string_view RightsGapWord(RightsGap gap);

}  // namespace ombrisk
