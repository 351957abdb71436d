#include "core/KeyParser.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace ombrisk {

void PrintTo(const KeyAction& a, std::ostream* os) {
    static const char* const kKinds[] = {"Down", "Up", "Char"};
    const unsigned code = a.kind == KeyAction::Character ? unsigned(a.ch) : unsigned(a.vk);
    *os << kKinds[a.kind] << '(' << std::hex << code << ')';
}

namespace {

using Actions = std::vector<KeyAction>;

KeyAction D(uint16_t v) { return {KeyAction::VirtualKeyDown, v, 0}; }
KeyAction U(uint16_t v) { return {KeyAction::VirtualKeyUp, v, 0}; }
KeyAction C(char16_t c) { return {KeyAction::Character, 0, c}; }

// Windows values spelled out, so a wrong constant in the header is caught.
constexpr uint16_t kShift = 0x10, kCtrl = 0x11, kAlt = 0x12, kTab = 0x09, kReturn = 0x0D;

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

TEST(ParseSendKeysTest, WellFormedStrings) {
    const struct {
        std::u16string_view keys;
        Actions expected;
    } cases[] = {
        {u"", {}},
        {u"ab", {C('a'), C('b')}},
        {u"a b", {C('a'), C(' '), C('b')}},
        {u"^a", {D(kCtrl), C('a'), U(kCtrl)}},
        {u"+(ab)", {D(kShift), C('a'), C('b'), U(kShift)}},
        {u"%{F4}", {D(kAlt), D(0x73), U(0x73), U(kAlt)}},
        {u"~", {D(kReturn), U(kReturn)}},
        {u"{TAB 3}", {D(kTab), U(kTab), D(kTab), U(kTab), D(kTab), U(kTab)}},
        {u"{tab}", {D(kTab), U(kTab)}},
        {u"{TAB 0}", {}},
        {u"^{TAB 0}", {D(kCtrl), U(kCtrl)}},
        {u"+^a", {D(kShift), D(kCtrl), C('a'), U(kCtrl), U(kShift)}},
        {u"^+{END}b", {D(kCtrl), D(kShift), D(0x23), U(0x23), U(kShift), U(kCtrl), C('b')}},
        {u"+{TAB 2}x", {D(kShift), D(kTab), U(kTab), D(kTab), U(kTab), U(kShift), C('x')}},
        {u"(ab)c", {C('a'), C('b'), C('c')}},
        {u"+(a+b)", {D(kShift), C('a'), C('b'), U(kShift)}},  // Shift is already down
        {u"^(a%(b)c)", {D(kCtrl), C('a'), D(kAlt), C('b'), U(kAlt), C('c'), U(kCtrl)}},
        {u"+()", {D(kShift), U(kShift)}},
        {u"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}",
         {C('+'), C('^'), C('%'), C('~'), C('('), C(')'), C('{'), C('}'), C('['), C(']')}},
        {u"[x]", {C('['), C('x'), C(']')}},
        {u"{a 3}", {C('a'), C('a'), C('a')}},
        {u"{} 2}", {C('}'), C('}')}},
        {u"{  2}", {C(' '), C(' ')}},
        {u"+{a 2}", {D(kShift), C('a'), C('a'), U(kShift)}},
        {u"\U0001F600", {C(0xD83D), C(0xDE00)}},
        {u"^\U0001F600", {D(kCtrl), C(0xD83D), C(0xDE00), U(kCtrl)}},
        {u"{\U0001F600 2}", {C(0xD83D), C(0xDE00), C(0xD83D), C(0xDE00)}},
        {u"a\r\n", {C('a'), C('\r'), C('\n')}},
        {u"{F1}{f10}{F16}", {D(0x70), U(0x70), D(0x79), U(0x79), D(0x7F), U(0x7F)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.keys));
        Actions out;
        size_t errorPos = 12345;
        EXPECT_EQ(ParseSendKeys(c.keys, out, &errorPos), KeyParseStatus::Ok);
        EXPECT_EQ(out, c.expected);
        EXPECT_EQ(errorPos, 12345u);
    }
}

TEST(ParseSendKeysTest, KeyNamesMapToWindowsVirtualKeys) {
    const struct {
        std::u16string_view name;
        uint16_t vk;
    } cases[] = {
        {u"BACKSPACE", 0x08}, {u"BS", 0x08},         {u"bksp", 0x08},    {u"BREAK", 0x03},   {u"CAPSLOCK", 0x14},
        {u"DELETE", 0x2E},    {u"DEL", 0x2E},        {u"DOWN", 0x28},    {u"END", 0x23},     {u"ENTER", 0x0D},
        {u"ESC", 0x1B},       {u"HELP", 0x2F},       {u"HOME", 0x24},    {u"INSERT", 0x2D},  {u"INS", 0x2D},
        {u"LEFT", 0x25},      {u"NUMLOCK", 0x90},    {u"PGDN", 0x22},    {u"PGUP", 0x21},    {u"PRTSC", 0x2C},
        {u"RIGHT", 0x27},     {u"SCROLLLOCK", 0x91}, {u"TAB", 0x09},     {u"Up", 0x26},      {u"F1", 0x70},
        {u"F9", 0x78},        {u"F12", 0x7B},        {u"F16", 0x7F},     {u"ADD", 0x6B},     {u"SUBTRACT", 0x6D},
        {u"MULTIPLY", 0x6A},  {u"DIVIDE", 0x6F},     {u"DECIMAL", 0x6E}, {u"NUMPAD0", 0x60}, {u"numpad9", 0x69},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        Actions out;
        const std::u16string keys = u"{" + std::u16string(c.name) + u"}";
        ASSERT_EQ(ParseSendKeys(keys, out), KeyParseStatus::Ok);
        EXPECT_EQ(out, (Actions{D(c.vk), U(c.vk)}));
    }
}

TEST(ParseSendKeysTest, MalformedStringsFailWithoutOutput) {
    const struct {
        std::u16string_view keys;
        KeyParseStatus status;
        size_t errorPos;
    } cases[] = {
        {u"{TAB", KeyParseStatus::UnbalancedBraces, 0},
        {u"a}", KeyParseStatus::UnbalancedBraces, 1},
        {u"{}", KeyParseStatus::UnbalancedBraces, 0},
        {u"ab{", KeyParseStatus::UnbalancedBraces, 2},
        {u"{a}}", KeyParseStatus::UnbalancedBraces, 3},
        {u"(a", KeyParseStatus::UnbalancedParentheses, 0},
        {u"((a)", KeyParseStatus::UnbalancedParentheses, 0},
        {u"a)", KeyParseStatus::UnbalancedParentheses, 1},
        {u"+", KeyParseStatus::ModifierWithoutKey, 0},
        {u"a^", KeyParseStatus::ModifierWithoutKey, 1},
        {u"+^", KeyParseStatus::ModifierWithoutKey, 0},
        {u"(+)", KeyParseStatus::ModifierWithoutKey, 1},
        {u"{SPACE}", KeyParseStatus::UnknownKeyName, 0},
        {u"x{space 100}", KeyParseStatus::UnknownKeyName, 1},
        {u"{spare}", KeyParseStatus::UnknownKeyName, 0},
        {u"{F17}", KeyParseStatus::UnknownKeyName, 0},
        {u"{F0}", KeyParseStatus::UnknownKeyName, 0},
        {u"{F01}", KeyParseStatus::UnknownKeyName, 0},
        {u"{NUMPAD10}", KeyParseStatus::UnknownKeyName, 0},
        {u"{ 3}", KeyParseStatus::UnknownKeyName, 0},
        {u"{TAB x}", KeyParseStatus::BadRepeatCount, 0},
        {u"{TAB -1}", KeyParseStatus::BadRepeatCount, 0},
        {u"{TAB }", KeyParseStatus::BadRepeatCount, 0},
        {u"{TAB 100001}", KeyParseStatus::BadRepeatCount, 0},
        {u"{TAB 99999999999999999999}", KeyParseStatus::BadRepeatCount, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.keys));
        Actions out{C('z')};
        size_t errorPos = 12345;
        EXPECT_EQ(ParseSendKeys(c.keys, out, &errorPos), c.status);
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(errorPos, c.errorPos);
    }
}

TEST(ParseSendKeysTest, OutputIsBounded) {
    Actions out;
    ASSERT_EQ(ParseSendKeys(u"{TAB 100000}", out), KeyParseStatus::Ok);
    EXPECT_EQ(out.size(), 200000u);

    std::u16string keys;
    for (int i = 0; i < 10; ++i) keys += u"{a 100000}";
    ASSERT_EQ(ParseSendKeys(keys, out), KeyParseStatus::Ok);
    EXPECT_EQ(out.size(), kMaxKeyActions);

    keys += u"b";
    EXPECT_EQ(ParseSendKeys(keys, out), KeyParseStatus::TooManyActions);
    EXPECT_TRUE(out.empty());
    // The modifiers' own actions count too.
    EXPECT_EQ(ParseSendKeys(u"+" + keys.substr(0, keys.size() - 1), out), KeyParseStatus::TooManyActions);
}

TEST(IsExtendedKeyTest, NavigationBlockAndArrowsOnly) {
    for (uint16_t v : {0x25, 0x26, 0x27, 0x28, 0x2D, 0x2E, 0x24, 0x23, 0x21, 0x22, 0x6F, 0x90, 0xA3, 0xA5, 0x5B, 0x5C, 0x5D})
        EXPECT_TRUE(IsExtendedKey(v)) << v;
    for (uint16_t v : {0x09, 0x0D, 0x10, 0x11, 0x12, 0x41, 0x60, 0x6B, 0x70, 0xA0, 0xA1, 0xA2, 0xA4})
        EXPECT_FALSE(IsExtendedKey(v)) << v;
}

}  // namespace
}  // namespace ombrisk
