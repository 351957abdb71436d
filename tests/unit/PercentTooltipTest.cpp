#include "core/PercentTooltip.h"

#include <gtest/gtest.h>

namespace ombrisk {
namespace {

TEST(PercentTooltipTest, TextIsFiveToSevenBytesEndingInBlankPercent) {
    const struct {
        std::string_view text;
        bool expected;
    } cases[] = {
        {"50.0 %", true}, {"5.0 %", true},    {"100.0 %", true},  {"ab  %", true}, {"50 %", false}, {"100.00 %", false},
        {"50.0%", false}, {"50.0 %x", false}, {"50,0 % ", false}, {"", false},     {" %", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPercentTooltipText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(PercentTooltipTest, ClassNameContainsIgnoringAsciiCase) {
    const struct {
        std::string_view haystack, needle;
        bool expected;
    } cases[] = {
        {"TToolTip", "TToolTip", true},
        {"ttooltip", "TToolTip", true},
        {"xTTOOLTIPx", "TToolTip", true},
        {"tooltips_class32", "TToolTip", false},
        {"TTool", "TToolTip", false},
        {"#32770", "#32770", true},
        {"abc", "", true},
        {"\xC4", "\xE4", false},  // bytes beyond ASCII compare exactly
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContainsNoCase(c.haystack, c.needle), c.expected) << c.haystack << " / " << c.needle;
}

}  // namespace
}  // namespace ombrisk
