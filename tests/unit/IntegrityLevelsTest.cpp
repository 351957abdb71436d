#include "core/IntegrityLevels.h"

#include <gtest/gtest.h>

#include <optional>

namespace ombrisk {
namespace {

TEST(CompareIntegrityTest, TheHigherSideIsNamedAndAMissingLevelTellsNothing) {
    constexpr uint32_t kLow = 0x1000, kMedium = 0x2000, kMediumPlus = 0x2100, kHigh = 0x3000, kSystem = 0x4000;
    const struct {
        std::optional<uint32_t> script, host;
        RightsGap expected;
        const char* word;
    } cases[] = {
        {kMedium, kMedium, RightsGap::Same, "same"},
        {kHigh, kHigh, RightsGap::Same, "same"},
        {kMedium, kHigh, RightsGap::HostHigher, "host-higher"},        // an elevated file manager
        {kHigh, kMedium, RightsGap::ScriptHigher, "script-higher"},    // an elevated script
        {kMedium, kMediumPlus, RightsGap::HostHigher, "host-higher"},  // any level above blocks
        {kLow, kMedium, RightsGap::HostHigher, "host-higher"},
        {kSystem, kHigh, RightsGap::ScriptHigher, "script-higher"},
        {kMedium, std::nullopt, RightsGap::Unknown, "unknown"},  // the file manager's token refused
        {std::nullopt, kMedium, RightsGap::Unknown, "unknown"},
    };
    for (const auto& c : cases) {
        const RightsGap gap = CompareIntegrity(c.script, c.host);
        EXPECT_EQ(gap, c.expected) << c.script.value_or(0) << " / " << c.host.value_or(0);
        EXPECT_EQ(RightsGapWord(gap), c.word);
    }
}

}  // namespace
}  // namespace ombrisk
