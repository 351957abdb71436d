#include "core/SpaceTokens.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrisk {
namespace {

std::u16string Spaces(size_t n) { return std::u16string(n, u' '); }

TEST(ExpandSpaceTokensTest, Expansions) {
    const struct {
        std::u16string input, expected;
    } cases[] = {
        {u"{space}", u" "},
        {u"{SP}", u" "},
        {u"{SPACE}{Sp}x", u"  x"},
        {u"{Space 3}", Spaces(3)},
        {u"{sPaCe 2}", Spaces(2)},
        {u"{sp 12}", Spaces(12)},
        {u"{sp 05}", Spaces(5)},
        {u"{sp 0}", u""},
        {u"{space 00}", u""},
        {u"a{space 2}b", u"a  b"},
        {u"x{sp 2}y{sp 3}z", u"x  y   z"},
        // Twelve in the first pass (rule 1 finds no "{space 1}"), three in the next.
        {u"{space 12}{space 3}", Spaces(15)},
        // The malformed first token is removed with count 0, then the real one expands.
        {u"{space x}{space 5}", Spaces(5)},
        // The two characters after the first "{space " begin with 5.
        {u"{space 5x}{space 12}", Spaces(17)},
        // Blanks before the count's digits are skipped.
        {u"{space  7}{space 12}", Spaces(19)},
        // All four rules in one pass.
        {u"{space 1}{sp 2}{space 34}{sp 56}", Spaces(93)},
        // Removing a token can form a new one, which a later pass expands.
        {u"{sp{sp 0} 3}", Spaces(3)},
        {u"{TAB}{sp 1}~", u"{TAB} ~"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.input.begin(), c.input.end()));
        std::u16string keys = c.input;
        EXPECT_EQ(ExpandSpaceTokens(keys), SpaceTokenStatus::Ok);
        EXPECT_EQ(keys, c.expected);
    }
}

TEST(ExpandSpaceTokensTest, TextNoRuleCanChangeIsLeftForTheKeySender) {
    const std::u16string_view cases[] = {
        u"{space 100}", u"{spare}", u"{space xy}{space 5}", u"{space -1}", u"{sp 1", u"{TAB}{ENTER}", u"{SP 123}",
    };
    for (const auto& input : cases) {
        SCOPED_TRACE(std::string(input.begin(), input.end()));
        std::u16string keys(input);
        EXPECT_EQ(ExpandSpaceTokens(keys), SpaceTokenStatus::Ok);
        EXPECT_EQ(keys, input);
    }
}

TEST(ExpandSpaceTokensTest, NegativeCountIsReported) {
    // The count comes from the first "{space " / "{sp ", which reads -1 and -5 here.
    const std::u16string_view cases[] = {u"{space -1}{space 12}", u"{sp -5}{sp 10}", u"a{SP -9}b{sp 99}"};
    for (const auto& input : cases) {
        SCOPED_TRACE(std::string(input.begin(), input.end()));
        std::u16string keys(input);
        EXPECT_EQ(ExpandSpaceTokens(keys), SpaceTokenStatus::NegativeCount);
    }
}

TEST(ExpandSpaceTokensTest, ManyTokensEnd) {
    std::u16string keys;
    for (int i = 0; i < 200; ++i) keys += u"{space 9}{sp 99}";
    EXPECT_EQ(ExpandSpaceTokens(keys), SpaceTokenStatus::Ok);
    EXPECT_EQ(keys, Spaces(200 * 108));
}

TEST(SpaceTokenPassTest, OnePassAppliesEachRuleOnce) {
    SpaceTokenStatus status = SpaceTokenStatus::Ok;
    std::u16string keys = u"{space 12}{space 3}";
    EXPECT_TRUE(SpaceTokenPass(keys, status));
    EXPECT_EQ(keys, Spaces(12) + u"{space 3}");

    keys = u"{sp 1}{sp 2}";
    EXPECT_TRUE(SpaceTokenPass(keys, status));
    EXPECT_EQ(keys, u" {sp 2}");

    keys = u"{space 100}";
    EXPECT_FALSE(SpaceTokenPass(keys, status));
    EXPECT_EQ(keys, u"{space 100}");
    EXPECT_EQ(status, SpaceTokenStatus::Ok);
}

}  // namespace
}  // namespace ombrisk
