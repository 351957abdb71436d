// Format-string kinds, week numbers, the ww and c rewrite, and string formats.
#include "core/WineFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ombrisk {
namespace {

std::string Narrow(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

TEST(FormatAnyWineFormat, ClassifiesByTheFirstSectionOutsideQuotes) {
    struct Case {
        std::u16string format;
        FormatKind kind;
    };
    const std::vector<Case> cases = {
        {u"", FormatKind::General},
        {u"standard", FormatKind::NamedNumber},
        {u"Yes/No", FormatKind::NamedNumber},
        {u"MEDIUM DATE", FormatKind::NamedDate},
        {u"Short Time", FormatKind::NamedDate},
        {u"0%", FormatKind::Number},
        {u"#,##0.00;(#,##0.00);\"zero\"", FormatKind::Number},
        {u"0.00E+00", FormatKind::Number},
        {u"\"day\" 0", FormatKind::Number},  // quoted letters are text
        {u"\\d0", FormatKind::Number},       // so is an escaped one
        {u"0;@", FormatKind::Number},        // only the first section counts
        {u"0 sec", FormatKind::Number},      // letters beside digit placeholders are text
        {u"##abcdefghijklmnopqrstuvwxyz", FormatKind::Number},
        {u"yyyy-mm-dd", FormatKind::DateTime},
        {u"ww", FormatKind::DateTime},
        {u"h:nn AM/PM", FormatKind::DateTime},
        {u"c", FormatKind::DateTime},
        {u"@@@", FormatKind::String},
        {u"!&&", FormatKind::String},
        {u">", FormatKind::Literal},
        {u"\"text\"", FormatKind::Literal},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyFormat(c.format), c.kind) << Narrow(c.format);
}

TEST(FormatAnyWineFormat, OnlyMediumDateIsReplaced) {
    EXPECT_EQ(NamedFormatReplacement(u"Medium Date"), u"dd-mmm-yy");
    EXPECT_EQ(NamedFormatReplacement(u"medium date"), u"dd-mmm-yy");
    EXPECT_TRUE(NamedFormatReplacement(u"Long Date").empty());
    EXPECT_TRUE(NamedFormatReplacement(u"dd-mmm-yy").empty());
}

TEST(FormatAnyWineFormat, WeeksStartOnSundayAndWeekOneHoldsJanuaryFirst) {
    struct Case {
        double date;
        int week;
        const char* what;
    };
    const std::vector<Case> cases = {
        {44927, 1, "2023-01-01, a Sunday"},
        {44933, 1, "2023-01-07, the Saturday that ends week 1"},
        {44934, 2, "2023-01-08, the next Sunday"},
        {45000.75, 11, "2023-03-15 18:00"},
        {45291, 53, "2023-12-31"},
        {45292, 1, "2024-01-01, a Monday"},
        {45297, 1, "2024-01-06, a Saturday"},
        {45298, 2, "2024-01-07, a Sunday"},
        {45658, 1, "2025-01-01, a Wednesday"},
        {45661, 1, "2025-01-04, a Saturday"},
        {45662, 2, "2025-01-05, a Sunday"},
        {36891, 54, "2000-12-31: a leap year that began on a Saturday"},
        {1.5, 53, "1899-12-31 12:00, a Sunday"},
        {-1.25, 52, "1899-12-29 06:00: a negative date's fraction is its time"},
        {-1.75, 52, "1899-12-29 18:00"},
    };
    for (const Case& c : cases) EXPECT_EQ(WeekOfYear(c.date), c.week) << c.what;
}

TEST(FormatAnyWineFormat, RewritesWwAndCOutsideQuotes) {
    struct Case {
        std::u16string format;
        double date;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {u"ww", 44933, u"\"1\""},
        {u"yyyy-WW", 45298, u"yyyy-\"2\""},
        {u"\"ww\" ww", 45291, u"\"ww\" \"53\""},
        {u"\\ww", 44933, u"\\ww"},  // an escaped w and a single w
        {u"www", 44934, u"\"2\"w"},
        {u"w d", 44934, u"w d"},
        {u"c", 45000.5, u"ddddd ttttt"},
        {u"c", 45000, u"ddddd"},
        {u"C", 0.25, u"ttttt"},
        {u"c", 0, u"ttttt"},
        {u"c", -1.25, u"ddddd ttttt"},
        {u"\"c\" c", 45000, u"\"c\" ddddd"},
    };
    for (const Case& c : cases) EXPECT_EQ(RewriteDateFormat(c.format, c.date), c.expected) << Narrow(c.format);
    EXPECT_TRUE(HasComputedDateTokens(u"yyyy ww"));
    EXPECT_TRUE(HasComputedDateTokens(u"c"));
    EXPECT_FALSE(HasComputedDateTokens(u"w d \"ww c\" \\c"));
}

TEST(FormatAnyWineFormat, StringFormatsFillPlaceholders) {
    struct Case {
        std::u16string text;
        bool nullOrEmpty;
        std::u16string format;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {u"hello", false, u"@@@@@@@", u"  hello"},
        {u"hello", false, u"!@@@@@@@", u"hello  "},
        {u"hello", false, u"&&&&&&&", u"hello"},
        {u"hello", false, u"!&&&&&&&", u"hello"},
        {u"hello", false, u">@@@@@@@", u"  HELLO"},
        {u"HeLLo", false, u"<&", u"hello"},
        {u"hello", false, u"@@@", u"hello"},
        {u"hello", false, u"@-@", u"h-ello"},  // longer than the placeholders: one each from the left
        {u"hello", false, u"!@-@", u"h-ello"},
        {u"hello", false, u"x@x", u"xhxello"},  // and the rest at the very end
        {u"hello", false, u"@\\x", u"hxello"},
        {u"hello", false, u"!@@@x", u"helxlo"},
        {u"hello", false, u"<>@", u"hello"},  // the first of < and > counts
        {u"HELLO", false, u"><!&", u"HELLO"},
        {u"hello", false, u"\\@@@", u"@hello"},
        {u"5551234567", false, u"(@@@) @@@-@@@@", u"(555) 123-4567"},
        {u"abc", false, u"(@@@) @@@-@@@@", u"(   )    - abc"},
        {u"abc", false, u"!(@@@) @@@-@@@@", u"(abc)    -    "},
        {u"a;b", false, u"@\";\"@", u"a;;b"},
        {u"", true, u"@;\"empty\"", u"empty"},
        {u"x", false, u"@;\"empty\"", u"x"},
        {u"", true, u"@@@", u"   "},
        {u"", true, u"&&", u""},
        {u"ignored", true, u"&&", u""},
        {u"", true, u"<", u""},
        {u"AbC", false, u"!", u"AbC"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatText(c.text, c.nullOrEmpty, c.format), c.expected) << Narrow(c.format) << " on " << Narrow(c.text);
}

char16_t UpperUmlaut(char16_t c) { return c == u'\u00E4' ? u'\u00C4' : c; }

TEST(FormatAnyWineFormat, CaseFollowsTheGivenMapping) {
    EXPECT_EQ(FormatText(u"\u00E4b", false, u">@@", nullptr, &UpperUmlaut), u"\u00C4b");
    EXPECT_EQ(FormatText(u"\u00E4b", false, u">@@"), u"\u00E4B");  // ASCII only by default
}

TEST(FormatAnyWineFormat, ExponentHashesBecomeZeros) {
    struct Case {
        std::u16string format, expected;
    };
    const std::vector<Case> cases = {
        {u"0.#####E-#", u"0.#####E-0"},
        {u"0.#####E-###", u"0.#####E-0"},
        {u"0.#####E-#0#0", u"0.#####E-00"},
        {u"0.00e+##;(0.00e+#)", u"0.00e+0;(0.00e+0)"},
        {u"0.00E+00", u""},   // nothing to change
        {u"\"E-#\" 0", u""},  // quoted text is no exponent
        {u"0.0E#", u""},      // no sign: E is text
    };
    for (const Case& c : cases) EXPECT_EQ(ExponentWithoutHashes(c.format), c.expected) << Narrow(c.format);
}

}  // namespace
}  // namespace ombrisk
