#include "core/RegistryData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ombrisk {
namespace {

// The bytes the platform keeps for a UTF-16 text, with or without its terminating NUL.
std::vector<uint8_t> Utf16Bytes(std::u16string_view text, bool withNul = true) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    if (withNul) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

TEST(RegistryValueTextTest, StringValues) {
    const struct {
        std::vector<uint8_t> data;
        std::u16string_view expected;
    } cases[] = {
        {Utf16Bytes(u"C:\\Tools"), u"C:\\Tools"},
        // Outside the ANSI code page: Cyrillic, Greek and a CJK character come back as they are.
        {Utf16Bytes(u"C:\\\u0416\u03a9\u4e2d\\wincmd.ini"), u"C:\\\u0416\u03a9\u4e2d\\wincmd.ini"},
        {Utf16Bytes(u"no terminator", false), u"no terminator"},
        {Utf16Bytes(std::u16string_view(u"first\0second", 12)), u"first"},
        {{'a', 0, 'b', 0, 'c'}, u"ab"},  // an odd last byte is no character
        {{'a'}, u""},
        {{}, u""},
        {{0, 0, 'x', 0}, u""},
    };
    for (const auto& c : cases) EXPECT_EQ(RegistryValueText(kRegSz, c.data), c.expected);
}

TEST(RegistryValueTextTest, BinaryValuesGiveTheirFirstTwoBytes) {
    const struct {
        std::vector<uint8_t> data;
        std::u16string_view expected;
    } cases[] = {
        {{0x01, 0x02}, u"513"},
        {{0xFE, 0xFF}, u"-2"},
        {{0x00, 0x80}, u"-32768"},
        {{0xFF, 0x7F, 0x55, 0x66, 0x77}, u"32767"},  // longer: only the first two bytes count
        {{0x07}, u"7"},
        {{}, u"0"},
    };
    for (const auto& c : cases) EXPECT_EQ(RegistryValueText(kRegBinary, c.data), c.expected);
}

TEST(RegistryValueTextTest, OtherTypesCountAsMissing) {
    const std::vector<uint8_t> text = Utf16Bytes(u"C:\\expand.ini");
    for (uint32_t type : {0u, kRegExpandSz, 4u /* DWORD */, 7u /* MULTI_SZ */, 11u /* QWORD */})
        EXPECT_EQ(RegistryValueText(type, text), u"") << "type " << type;
}

TEST(SilencedSoundDataTest, ReplacesNonEmptyTextOfEitherStringType) {
    const std::vector<uint8_t> space{' ', 0, 0, 0};
    for (uint32_t type : {kRegSz, kRegExpandSz}) {
        SCOPED_TRACE(type);
        for (const auto& data : {Utf16Bytes(u"%SystemRoot%\\media\\Windows Background.wav"),
                                 Utf16Bytes(u"C:\\Sounds\\\u0416.wav", false), Utf16Bytes(u" ")}) {
            const auto silent = SilencedSoundData(type, data);
            ASSERT_TRUE(silent.has_value());
            EXPECT_EQ(*silent, space);
        }
    }
}

TEST(SilencedSoundDataTest, LeavesEverythingElseAlone) {
    const struct {
        uint32_t type;
        std::vector<uint8_t> data;
    } cases[] = {
        {kRegSz, Utf16Bytes(u"")},
        {kRegExpandSz, Utf16Bytes(u"")},
        {kRegSz, {}},
        {kRegExpandSz, {'x'}},  // half a character
        {kRegSz, Utf16Bytes(std::u16string_view(u"\0after", 6))},
        {kRegBinary, {0x01, 0x02}},  // its decimal text is no sound file
        {4u, {1, 0, 0, 0}},
        {7u, Utf16Bytes(u"a.wav")},
    };
    for (const auto& c : cases) EXPECT_FALSE(SilencedSoundData(c.type, c.data).has_value()) << "type " << c.type;
}

}  // namespace
}  // namespace ombrisk
