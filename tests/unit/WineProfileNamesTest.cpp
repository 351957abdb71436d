#include "core/WineProfileNames.h"

#include <gtest/gtest.h>

namespace ombrisk {
namespace {

// Under Wine the name, with the Windows folder and a backslash before a bare one, must leave
// room for the terminator in 260 characters; Windows is given every name.
TEST(WineProfileNames, WineRefusesWhatOverrunsItsBufferWindowsNothing) {
    const struct {
        std::size_t name, folder;
        bool refusedUnderWine;
    } cases[] = {
        {259, 0, false},  {260, 0, true},   // a name with its own folder
        {248, 10, false}, {249, 10, true},  // a bare name in C:\windows
        {0, 259, true},   {100000, 0, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileNameRefused(c.name, c.folder, true), c.refusedUnderWine) << c.name << " in " << c.folder;
        EXPECT_FALSE(ProfileNameRefused(c.name, c.folder, false)) << c.name << " in " << c.folder;
    }
}

}  // namespace
}  // namespace ombrisk
