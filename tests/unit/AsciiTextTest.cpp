#include "core/AsciiText.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrisk {
namespace {

constexpr size_t kNone = std::u16string_view::npos;

TEST(AsciiTextTest, CaseFoldingChangesOnlyAsciiLetters) {
    const struct {
        char16_t unit, lower, upper;
    } cases[] = {
        {u'A', u'a', u'A'},
        {u'Z', u'z', u'Z'},
        {u'a', u'a', u'A'},
        {u'z', u'z', u'Z'},
        {u'@', u'@', u'@'},
        {u'[', u'[', u'['},
        {u'`', u'`', u'`'},
        {u'{', u'{', u'{'},
        {u'0', u'0', u'0'},
        {u'\0', u'\0', u'\0'},
        {u'\u00C4', u'\u00C4', u'\u00C4'},  // Ä stays
        {u'\u00E4', u'\u00E4', u'\u00E4'},
        {u'\u0130', u'\u0130', u'\u0130'},
        {u'\uFF21', u'\uFF21', u'\uFF21'},  // fullwidth A stays
        {char16_t(0x0141), char16_t(0x0141), char16_t(0x0141)},
        {char16_t(0xD841), char16_t(0xD841), char16_t(0xD841)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AsciiLower(c.unit), c.lower) << int(c.unit);
        EXPECT_EQ(AsciiUpper(c.unit), c.upper) << int(c.unit);
        // The same for a byte, where the unit is one.
        if (c.unit < 0x80) {
            EXPECT_EQ(AsciiLower(char(c.unit)), char(c.lower)) << int(c.unit);
            EXPECT_EQ(AsciiUpper(char(c.unit)), char(c.upper)) << int(c.unit);
        }
    }
    // Bytes above 0x7F, which are negative in a signed char, stay as they are.
    for (int b = 0x80; b <= 0xFF; ++b) {
        EXPECT_EQ(AsciiLower(char(b)), char(b)) << b;
        EXPECT_EQ(AsciiUpper(char(b)), char(b)) << b;
    }
}

TEST(AsciiTextTest, EqualsNoCase) {
    const struct {
        std::u16string_view a, b;
        bool expected;
    } cases[] = {
        {u"", u"", true},
        {u"Medium Date", u"medium DATE", true},
        {u"abc", u"abcd", false},
        {u"abcd", u"abc", false},
        {u"a", u"", false},
        {u"\u00C4x", u"\u00E4x", false},  // only ASCII letters fold
        {u"@", u"`", false},              // 0x40 and 0x60 differ by the case bit but are not letters
        {u"[", u"{", false},
        {std::u16string_view(u"a\0b", 3), std::u16string_view(u"A\0B", 3), true},
        {std::u16string_view(u"a\0b", 3), u"a", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualsNoCase(c.a, c.b), c.expected);
        EXPECT_EQ(EqualsNoCase(c.b, c.a), c.expected);
    }
    EXPECT_TRUE(EqualsNoCase(std::string_view("NumPad"), std::string_view("NUMPAD")));
    EXPECT_FALSE(EqualsNoCase(std::string_view("\xC4"), std::string_view("\xE4")));
}

TEST(AsciiTextTest, FindNoCase) {
    const struct {
        std::u16string_view hay, needle;
        size_t from, expected;
    } cases[] = {
        {u"abc", u"", 0, 0},      // an empty needle is found where the search starts
        {u"abc", u"", 3, 3},      // ... also at the very end
        {u"abc", u"", 4, kNone},  // ... but not beyond it
        {u"", u"", 0, 0},
        {u"", u"a", 0, kNone},
        {u"ab", u"abc", 0, kNone},  // needle longer than the text
        {u"xx%UserProfile%\\", u"%USERPROFILE%", 0, 2},
        {u"{SP}{sp}", u"{sp}", 1, 4},  // from skips the first match
        {u"{SP}{sp}", u"{sp}", 5, kNone},
        {u"abcabc", u"CAB", 0, 2},
        {u"abcab", u"cab", 3, kNone},  // the last window is shorter than the needle
        {u"abC", u"c", 2, 2},          // a match that ends the text
        {u"\u00C4BC", u"\u00E4bc", 0, kNone},
        {u"a\xD800\xDC00"
         u"b",
         u"\xDC00"
         u"B",
         0, 2},  // a lone low surrogate is an ordinary unit
        {std::u16string_view(u"x\0Y", 3), std::u16string_view(u"\0y", 2), 0, 1},
    };
    for (const auto& c : cases) {
        const std::u16string hay(c.hay);  // exact-size heap copy: ASan sees reads beyond it
        EXPECT_EQ(FindNoCase(hay, c.needle, c.from), c.expected) << "from " << c.from << " needle size " << c.needle.size();
        EXPECT_EQ(ContainsNoCase(hay, c.needle), FindNoCase(hay, c.needle) != kNone);
    }
}

TEST(AsciiTextTest, ContainsNoCaseOnBytes) {
    const struct {
        std::string_view haystack, needle;
        bool expected;
    } cases[] = {
        {"TPathPanel", "tpathpanel", true}, {"xT", "T", true},          {"", "", true},          {"", "#", false},
        {"#3277", "#32770", false},         {"\xC4\xE4", "\xE4", true}, {"\xC4", "\xE4", false},
    };
    for (const auto& c : cases) {
        const std::string haystack(c.haystack);
        EXPECT_EQ(ContainsNoCase(haystack, c.needle), c.expected) << c.haystack << " / " << c.needle;
    }
    EXPECT_EQ(FindNoCase(std::string_view("aXbx"), "X", 2), 3u);
}

TEST(AsciiTextTest, SurrogateTests) {
    const struct {
        char16_t unit;
        bool high, low;
    } cases[] = {
        {char16_t(0xD7FF), false, false},
        {char16_t(0xD800), true, false},
        {char16_t(0xDBFF), true, false},
        {char16_t(0xDC00), false, true},
        {char16_t(0xDFFF), false, true},
        {char16_t(0xE000), false, false},
        {u'A', false, false},
        {char16_t(0xFFFF), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHighSurrogate(c.unit), c.high) << std::hex << int(c.unit);
        EXPECT_EQ(IsLowSurrogate(c.unit), c.low) << std::hex << int(c.unit);
    }
}

TEST(AsciiTextTest, TrimSpacesTakesOnlySpacesFromBothEnds) {
    const struct {
        std::u16string_view text, expected;
    } cases[] = {
        {u"", u""},
        {u"   ", u""},
        {u" a ", u"a"},
        {u"a b", u"a b"},
        {u"\ta\t", u"\ta\t"},
        {u" \u3000x\u3000 ", u"\u3000x\u3000"},
        {u"  C:\\x", u"C:\\x"},
        {u"x  ", u"x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimSpaces(c.text), c.expected);
        const std::u16string_view trimmed = TrimSpaces(c.text);
        // A view into the same text, not a copy.
        EXPECT_TRUE(trimmed.empty() ||
                    (trimmed.data() >= c.text.data() && trimmed.data() + trimmed.size() <= c.text.data() + c.text.size()));
    }
    EXPECT_EQ(TrimSpaces(std::string_view(" cm_x \t ")), "cm_x \t");
}

}  // namespace
}  // namespace ombrisk
