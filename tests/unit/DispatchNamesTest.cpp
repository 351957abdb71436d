#include "core/DispatchNames.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrisk {
namespace {

// A cached answer must be exactly the type information's answer for exactly that spelling:
// another case, a prefix or a longer name is a different lookup.
TEST(DispatchNameCacheTest, AnswersOnlyTheSpellingItWasGiven) {
    DispatchNameCache cache;
    cache.Remember(u"NoArrayReturn", 0x68030007);
    cache.Remember(u"FormatAny", 0x60030025);
    EXPECT_EQ(cache.Find(u"NoArrayReturn"), 0x68030007);
    EXPECT_EQ(cache.Find(u"FormatAny"), 0x60030025);
    EXPECT_FALSE(cache.Find(u"noarrayreturn"));
    EXPECT_FALSE(cache.Find(u"NoArray"));
    EXPECT_FALSE(cache.Find(u"NoArrayReturnX"));
    EXPECT_FALSE(cache.Find(u""));
    const std::u16string withNul(u"FormatAny\0x", 11);
    EXPECT_FALSE(cache.Find(withNul));
}

TEST(DispatchNameCacheTest, ANameRememberedAgainTakesTheNewIdWithoutAGrowingCache) {
    DispatchNameCache cache;
    cache.Remember(u"Pause", 1);
    cache.Remember(u"Pause", 2);
    EXPECT_EQ(cache.Find(u"Pause"), 2);
    EXPECT_EQ(cache.size(), 1u);
}

TEST(DispatchNameCacheTest, EmptyAndOverlongNamesAreNotKept) {
    DispatchNameCache cache;
    cache.Remember(u"", 5);
    const std::u16string longest(DispatchNameCache::kMaxName, u'a');
    const std::u16string tooLong(DispatchNameCache::kMaxName + 1, u'a');
    cache.Remember(longest, 6);
    cache.Remember(tooLong, 7);
    EXPECT_FALSE(cache.Find(u""));
    EXPECT_EQ(cache.Find(longest), 6);
    EXPECT_FALSE(cache.Find(tooLong));
    EXPECT_EQ(cache.size(), 1u);
}

// A script that spells names in ever new ways must not make the object grow without bound;
// the newest names are still answered and every answer stays right.
TEST(DispatchNameCacheTest, AFullCacheReplacesItsOldestEntries) {
    DispatchNameCache cache;
    const size_t n = DispatchNameCache::kCapacity;
    auto name = [](size_t i) {
        return u"Name" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + std::u16string(i / 26 + 1, u'x');
    };
    for (size_t i = 0; i < n + 3; ++i) cache.Remember(name(i), static_cast<int32_t>(i));
    EXPECT_EQ(cache.size(), n);
    for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(cache.Find(name(i))) << i;
    for (size_t i = 3; i < n + 3; ++i) EXPECT_EQ(cache.Find(name(i)), static_cast<int32_t>(i)) << i;
}

}  // namespace
}  // namespace ombrisk
