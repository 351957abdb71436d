#include "core/CopyData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ombrisk {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Head(const CopyDataPayload& p, size_t n) { return Bytes(p.buffer.begin(), p.buffer.begin() + n); }

bool ZeroFrom(const CopyDataPayload& p, size_t from) {
    return std::all_of(p.buffer.begin() + from, p.buffer.end(), [](uint8_t b) { return b == 0; });
}

TEST(CopyDataTest, CodesPutTheFirstCharacterInTheLowByte) {
    EXPECT_EQ(CopyDataCode('G', 'W'), 0x5747u);
    EXPECT_EQ(CopyDataCode('C', 'D'), kCopyDataCD);
    EXPECT_EQ(CopyDataCode('E', 'M'), kCopyDataEM);
    EXPECT_EQ(CopyDataCode('R', 'A'), 0x4152u);
    EXPECT_NE(CopyDataCode('R', 'A'), kCopyDataRW);
}

TEST(GwPayloadTest, TextThenNulInA48ByteBuffer) {
    const CopyDataPayload p = BuildGwPayload("SP");
    ASSERT_EQ(p.buffer.size(), 48u);
    EXPECT_EQ(p.cbData, 3u);
    EXPECT_EQ(Head(p, 3), (Bytes{0x53, 0x50, 0x00}));
    EXPECT_TRUE(ZeroFrom(p, 3));

    const CopyDataPayload empty = BuildGwPayload("");
    EXPECT_EQ(empty.buffer.size(), 48u);
    EXPECT_EQ(empty.cbData, 1u);
    EXPECT_TRUE(ZeroFrom(empty, 0));
}

TEST(GwPayloadTest, LongTextGetsABufferThatFits) {
    const struct { size_t length, bufferSize; } cases[] = {{47, 48}, {48, 49}, {100, 101}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'Q');
        const CopyDataPayload p = BuildGwPayload(text);
        EXPECT_EQ(p.buffer.size(), c.bufferSize);
        EXPECT_EQ(p.cbData, c.length + 1);
        EXPECT_EQ(std::string(p.buffer.begin(), p.buffer.begin() + c.length), text);
        EXPECT_EQ(p.buffer[c.length], 0);
    }
}

TEST(EmPayloadTest, NameThenTwoNuls) {
    const CopyDataPayload p = BuildEmPayload("em_test");
    ASSERT_EQ(p.buffer.size(), 1024u);
    EXPECT_EQ(p.cbData, 9u);
    EXPECT_EQ(std::string(p.buffer.begin(), p.buffer.begin() + 7), "em_test");
    EXPECT_TRUE(ZeroFrom(p, 7));

    const struct { size_t length, bufferSize; } cases[] = {{1022, 1024}, {1023, 1025}, {3000, 3002}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const CopyDataPayload big = BuildEmPayload(std::string(c.length, 'n'));
        EXPECT_EQ(big.buffer.size(), c.bufferSize);
        EXPECT_EQ(big.cbData, c.length + 2);
        EXPECT_EQ(big.buffer[c.length - 1], 'n');
        EXPECT_TRUE(ZeroFrom(big, c.length));
    }
}

TEST(ToUtf8WithBomTest, Encodings) {
    const struct {
        std::u16string_view text;
        Bytes expected;
    } cases[] = {
        {u"", {0xEF, 0xBB, 0xBF}},
        {u"C:\\", {0xEF, 0xBB, 0xBF, 0x43, 0x3A, 0x5C}},
        {u"\u00E4", {0xEF, 0xBB, 0xBF, 0xC3, 0xA4}},
        {u"\u20AC", {0xEF, 0xBB, 0xBF, 0xE2, 0x82, 0xAC}},
        {u"\U0001F600", {0xEF, 0xBB, 0xBF, 0xF0, 0x9F, 0x98, 0x80}},
        {u"\xD800"
         u"a",
         {0xEF, 0xBB, 0xBF, 0xEF, 0xBF, 0xBD, 0x61}},                               // lone high surrogate
        {u"\xDC00", {0xEF, 0xBB, 0xBF, 0xEF, 0xBF, 0xBD}},                          // lone low surrogate
        {u"\xDC00\xD800", {0xEF, 0xBB, 0xBF, 0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD}},  // reversed
        {u"a\xD83D", {0xEF, 0xBB, 0xBF, 0x61, 0xEF, 0xBF, 0xBD}},                   // high at the end
        {std::u16string_view(u"a\0b", 3), {0xEF, 0xBB, 0xBF, 0x61}},                // stops at U+0000
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ToUtf8WithBom(cases[i].text), cases[i].expected);
    }
}

TEST(CdPayloadTest, LayoutAndFlags) {
    const Bytes bom{0xEF, 0xBB, 0xBF};
    const struct {
        std::u16string_view path1, path2;
        bool leftRight, inNewTab;
        Bytes expected;
    } cases[] = {
        // SetSrcPath C:\ .
        {u"C:\\", u"", false, false, {0xEF, 0xBB, 0xBF, 0x43, 0x3A, 0x5C, 0x0D, 0x00, 0x53, 0x00}},
        // SetTrgPath D:\ in a new tab.
        {u"", u"D:\\", false, true, {0x0D, 0xEF, 0xBB, 0xBF, 0x44, 0x3A, 0x5C, 0x00, 0x53, 0x54, 0x00}},
        // SetLeftPath C:\Temp: no flags.
        {u"C:\\Temp", u"", true, false, {0xEF, 0xBB, 0xBF, 'C', ':', '\\', 'T', 'e', 'm', 'p', 0x0D, 0x00, 0x00}},
        // SetRightPath in a new tab.
        {u"", u"E:\\", true, true, {0x0D, 0xEF, 0xBB, 0xBF, 'E', ':', '\\', 0x00, 'T', 0x00}},
        {u"a", u"\u00E4", false, false, {0xEF, 0xBB, 0xBF, 'a', 0x0D, 0xEF, 0xBB, 0xBF, 0xC3, 0xA4, 0x00, 'S', 0x00}},
        // A non-empty path that starts with U+0000 is sent as a bare byte-order mark.
        {std::u16string_view(u"\0x", 2), u"", true, false, {0xEF, 0xBB, 0xBF, 0x0D, 0x00, 0x00}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& c = cases[i];
        const CopyDataPayload p = BuildCdPayload(c.path1, c.path2, c.leftRight, c.inNewTab);
        ASSERT_EQ(p.buffer.size(), 2048u);
        EXPECT_EQ(p.cbData, 2048u);
        EXPECT_EQ(Head(p, c.expected.size()), c.expected);
        EXPECT_TRUE(ZeroFrom(p, c.expected.size()));
    }
}

TEST(CdPayloadTest, OversizePayloadGetsItsExactSize) {
    // BOM + n bytes + CR NUL "S" NUL: 2048 when n is 2041.
    const struct { size_t pathLength, size; } cases[] = {{2041, 2048}, {2042, 2049}, {3000, 3007}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pathLength);
        const CopyDataPayload p = BuildCdPayload(std::u16string(c.pathLength, u'a'), u"", false, false);
        EXPECT_EQ(p.buffer.size(), c.size);
        EXPECT_EQ(p.cbData, c.size);
        EXPECT_EQ(Bytes(p.buffer.begin() + 3 + c.pathLength, p.buffer.begin() + 7 + c.pathLength),
                  (Bytes{0x0D, 0x00, 'S', 0x00}));
    }
    // Two long non-ASCII paths: 3 bytes per character in UTF-8.
    const std::u16string euros(1000, u'\u20AC');
    const CopyDataPayload p = BuildCdPayload(euros, euros, true, true);
    EXPECT_EQ(p.buffer.size(), 2 * (3 + 3000) + 4u);
    EXPECT_EQ(p.cbData, p.buffer.size());
    EXPECT_EQ(p.buffer.back(), 0x00);
    EXPECT_EQ(p.buffer[p.buffer.size() - 2], 'T');
}

TEST(RwAnswerTest, Decoding) {
    auto le = [](std::u16string_view s) {
        Bytes b;
        for (char16_t c : s) {
            b.push_back(uint8_t(c & 0xFF));
            b.push_back(uint8_t(c >> 8));
        }
        return b;
    };
    const Bytes windows = le(std::u16string_view(u"C:\\Windows\\\0junk", 16));
    EXPECT_EQ(DecodeRwAnswer(windows.data(), windows.size()), u"C:\\Windows\\");

    // Whole answer up to cbData, even past 1024 bytes, when it has no U+0000.
    const Bytes longAnswer = le(std::u16string(1500, u'a'));
    EXPECT_EQ(DecodeRwAnswer(longAnswer.data(), longAnswer.size()), std::u16string(1500, u'a'));
    // cbData bounds the read even when the data goes on.
    EXPECT_EQ(DecodeRwAnswer(longAnswer.data(), 10), std::u16string(5, u'a'));
    // An odd last byte is ignored.
    EXPECT_EQ(DecodeRwAnswer(longAnswer.data(), 5), u"aa");
    EXPECT_EQ(DecodeRwAnswer(longAnswer.data(), 1), u"");
    EXPECT_EQ(DecodeRwAnswer(longAnswer.data(), 0), u"");
    EXPECT_EQ(DecodeRwAnswer(nullptr, 10), u"");

    const Bytes surrogates{0x3D, 0xD8, 0x00, 0xDE, 0xE4, 0x00};
    EXPECT_EQ(DecodeRwAnswer(surrogates.data(), surrogates.size()), u"\U0001F600\u00E4");
    const Bytes leadingNul{0x00, 0x00, 0x41, 0x00};
    EXPECT_EQ(DecodeRwAnswer(leadingNul.data(), leadingNul.size()), u"");
}

}  // namespace
}  // namespace ombrisk
