// List splitting, substring replacement and the one-string list form.
#include "core/StringLists.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace ombrisk {
namespace {

using namespace std::string_literals;
using List = std::vector<std::u16string>;

// Readable trace text for UTF-16 test input (non-ASCII and control units as \xNNNN).
std::string Show(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

List Strings(const std::vector<std::u16string_view>& views) { return List(views.begin(), views.end()); }

struct SplitCase {
    std::u16string text;
    std::u16string delimiter;
    bool drop;
    List expected;
};

void ExpectSplits(const std::vector<SplitCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE("text '" + Show(c.text) + "' at '" + Show(c.delimiter) + (c.drop ? "' dropping" : "' keeping"));
        EXPECT_EQ(Strings(SplitListViews(c.text, c.delimiter, c.drop)), c.expected);
    }
}

TEST(SplitListViews, AlwaysAtLeastOneElement) {
    ExpectSplits({
        {u"", u",", true, {u""}},
        {u"", u",", false, {u""}},
        {u"abc", u",", true, {u"abc"}},
        {u"aXa", u"x", true, {u"aXa"}},  // the delimiter search is case-sensitive
        {u"a", u",,", true, {u"a"}},
        {u"a,b", u"", true, {u"a,b"}},  // an empty delimiter never splits
        {u"a\0b"s, u"", true, {u"a\0b"s}},
        {u"", u"", false, {u""}},
    });
}

// An empty delimiter is a text of no characters anywhere in memory: one past the end of a heap
// block, or no storage at all. Nothing may be read through it, and the text is not read past
// its end either (the heap block holds no terminator after it).
TEST(SplitListViews, AnEmptyDelimiterReadsNothing) {
    const std::vector<char16_t> heap{u'a', u',', u'b', u'\0', u'c'};
    const std::u16string_view text(heap.data(), heap.size());
    const std::u16string_view delimiters[] = {std::u16string_view{}, std::u16string_view(heap.data() + heap.size(), 0)};
    for (const std::u16string_view delimiter : delimiters) {
        EXPECT_EQ(Strings(SplitListViews(text, delimiter, true)), List{u"a,b\0c"s});
        EXPECT_EQ(Strings(SplitListViews(text, delimiter, false)), List{u"a,b\0c"s});
        const auto views = SplitListViews(text, delimiter, false);
        ASSERT_EQ(views.size(), 1u);
        EXPECT_EQ(views[0].data(), text.data());
        EXPECT_EQ(views[0].size(), text.size());
    }
}

TEST(SplitListViews, CutsAtEveryDelimiter) {
    ExpectSplits({
        {u"a,,b", u",", true, {u"a", u"", u"b"}},
        {u",a", u",", true, {u"", u"a"}},
        {u"a,b,c", u",", false, {u"a", u"b", u"c"}},
        {u"1ab2ab3", u"ab", true, {u"1", u"2", u"3"}},
        {u"aaa", u"aa", false, {u"", u"a"}},  // occurrences never overlap
        {u"a,,,", u",,", true, {u"a", u","}},
        {u"a\0b\0c"s, u"\0"s, true, {u"a", u"b", u"c"}},  // INI names separated by NUL
        {u"x\0y\r\nz"s, u"\r\n", true, {u"x\0y"s, u"z"}},
    });
}

TEST(SplitListViews, DropsTheEmptyTailOnlyAfterASecondDelimiter) {
    ExpectSplits({
        {u"a,b,", u",", false, {u"a", u"b", u""}},
        {u"a,b,", u",", true, {u"a", u"b"}},
        {u"a,", u",", true, {u"a", u""}},  // the sole delimiter is never dropped
        {u",", u",", true, {u"", u""}},
        {u",,", u",", true, {u"", u""}},
        {u",,", u",", false, {u"", u"", u""}},
        {u"a,b,,", u",", true, {u"a", u"b", u""}},  // only the last delimiter is dropped
        {u"x\r\ny\r\n", u"\r\n", true, {u"x", u"y"}},
        {u"x\r\ny\r\n", u"\r\n", false, {u"x", u"y", u""}},
        {u"abab", u"ab", true, {u"", u""}},
        {u"xabab", u"ab", true, {u"x", u""}},
        {u"aaaa", u"aa", true, {u"", u""}},
        {u"aaaa", u"aa", false, {u"", u"", u""}},
    });
}

TEST(SplitListViews, JoiningTheElementsGivesTheTextBack) {
    std::mt19937 rng(20240611);
    const std::u16string alphabet = u"ab,";
    for (int round = 0; round < 2000; ++round) {
        std::u16string text(rng() % 70, u' ');
        for (auto& c : text) c = alphabet[rng() % alphabet.size()];
        const std::u16string delimiter = round % 2 ? u"," : u",a";
        SCOPED_TRACE("text '" + Show(text) + "' at '" + Show(delimiter) + "'");
        const List items = Strings(SplitListViews(text, delimiter, false));
        std::u16string joined;
        for (size_t i = 0; i < items.size(); ++i) {
            if (i) joined += delimiter;
            joined += items[i];
            EXPECT_EQ(items[i].find(delimiter), std::u16string::npos);
        }
        EXPECT_EQ(joined, text);
    }
}

struct ReplaceCase {
    std::u16string text, find, replacement, expected;
};

void ExpectReplacements(const std::vector<ReplaceCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + Show(c.text) + "': '" + Show(c.find) + "' -> '" + Show(c.replacement) + "'");
        EXPECT_EQ(ReplaceText(c.text, c.find, c.replacement), c.expected);
    }
}

TEST(ReplaceText, EmptyFindOrNoMatchReturnsTheText) {
    ExpectReplacements({
        {u"abc", u"", u"x", u"abc"},
        {u"", u"a", u"bb", u""},
        {u"ab", u"abc", u"x", u"ab"},
        {u"abab", u"ba", u"xyz", u"axyzb"},
        {u"abcab", u"abc", u"X", u"Xab"},  // a partial match at the end is no match
    });
}

TEST(ReplaceText, EqualLengthReplacesInPlaceLeftToRight) {
    ExpectReplacements({
        {u"a-b-c", u"-", u"+", u"a+b+c"},
        {u"aaa", u"aa", u"bc", u"bca"},  // the search goes on after the whole match
        {u"abab", u"ab", u"ba", u"baba"},
        {u"aab", u"ab", u"aa", u"aaa"},
        {u"x\r\ny\r\n", u"\r\n", u"\r\n", u"x\r\ny\r\n"},
        {u"AbA", u"a", u"z", u"AbA"},
    });
}

TEST(ReplaceText, DifferentLengthReplacesLeftToRight) {
    ExpectReplacements({
        {u"aaa", u"aa", u"b", u"ba"},
        {u"ab", u"ab", u"", u""},
        {u"aaa", u"a", u"aa", u"aaaaaa"},     // inserted text is not searched again
        {u"----", u"-", u"<>", u"<><><><>"},  // result fills the largest buffer exactly
        {u"aaaaa", u"aa", u"xyz", u"xyzxyza"},
        {u"a--b--", u"--", u"-", u"a-b-"},
        {u"k=v\0k2=v2\0"s, u"\0"s, u"\r\n", u"k=v\r\nk2=v2\r\n"},
        {u"k=v\r\nk2=v2\r\n", u"\r\n", u"\0"s, u"k=v\0k2=v2\0"s},
    });
}

// Naive left-to-right replacement to compare against on random texts, long enough to cross
// the blocks the search scans in.
std::u16string ReferenceReplace(const std::u16string& text, const std::u16string& find, const std::u16string& replacement) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, find.size(), find) == 0) {
            out += replacement;
            i += find.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

TEST(ReplaceText, MatchesAReferenceOnRandomTexts) {
    std::mt19937 rng(7);
    const std::u16string alphabet = u"ab\0-"s;
    auto randomText = [&](size_t maxLen, size_t minLen) {
        std::u16string s(minLen + rng() % (maxLen - minLen + 1), u' ');
        for (auto& c : s) c = alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = randomText(100, 0);
        const std::u16string find = randomText(3, 1);
        const std::u16string replacement = randomText(4, 0);
        SCOPED_TRACE("'" + Show(text) + "': '" + Show(find) + "' -> '" + Show(replacement) + "'");
        ASSERT_EQ(ReplaceText(text, find, replacement), ReferenceReplace(text, find, replacement));
    }
}

// The text in a heap block of exactly its size, so that AddressSanitizer reports any read
// beyond its last unit: segments of every length up to a few blocks, the last one ending right
// before a match that ends the text (or ending the text itself).
TEST(ReplaceText, ReadsNothingPastTheEndOfTheText) {
    const std::u16string finds[] = {u"\0"s, u"\r\n", u"|"};
    const std::u16string replacements[] = {u"", u"#", u"\r\n", u"<<>>"};
    for (size_t length = 0; length <= 70; ++length) {
        for (const std::u16string& find : finds) {
            for (const bool endsWithMatch : {true, false}) {
                std::u16string model = u"x" + find;  // one short segment before the long one
                for (size_t i = 0; i < length; ++i) model.push_back(u'a' + i % 26);
                if (endsWithMatch) model += find;
                const std::vector<char16_t> heap(model.begin(), model.end());
                const std::u16string_view text(heap.data(), heap.size());
                for (const std::u16string& replacement : replacements) {
                    SCOPED_TRACE("'" + Show(model) + "': '" + Show(find) + "' -> '" + Show(replacement) + "'");
                    const std::u16string expected = ReferenceReplace(model, find, replacement);
                    EXPECT_EQ(ReplaceText(text, find, replacement), expected);
                }
            }
        }
    }
}

TEST(JoinListText, ReplacesEveryDelimiterByCrLf) {
    struct Case {
        std::u16string text, delimiter, expected;
    };
    const std::vector<Case> cases = {
        {u"a\0b"s, u"\0"s, u"a\r\nb"},  {u"x\r\ny\r\n", u"\r\n", u"x\r\ny\r\n"},  // a CR LF list is already in this form
        {u"a,b,", u",", u"a\r\nb\r\n"}, {u"a;;b;", u";;", u"a\r\nb;"},
        {u"aXbx", u"x", u"aXb\r\n"},    {u"", u"\0"s, u""},
        {u"abc", u"", u"abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + Show(c.text) + "' at '" + Show(c.delimiter) + "'");
        EXPECT_EQ(JoinListText(c.text, c.delimiter), c.expected);
    }
}

}  // namespace
}  // namespace ombrisk
