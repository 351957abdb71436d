#include "core/KeyEvents.h"

#include <gtest/gtest.h>

namespace ombrisk {
namespace {

KeyEvent Down(uint16_t code, bool extended = false) { return {code, 0, false, extended}; }
KeyEvent Up(uint16_t code, bool extended = false) { return {code, 0, true, extended}; }
std::vector<KeyEvent> Unicode(char16_t unit) { return {{0, unit, false, false}, {0, unit, true, false}}; }

// A German-like layout as VkKeyScanEx and the dead-key bit report it.
LayoutKey German(char16_t ch) {
    switch (ch) {
    case u'a': return {0x41, false};
    case u'A': return {0x141, false};
    case u'@': return {0x651, false};  // AltGr+Q
    case u'^': return {0xDC, true};    // a dead key
    case u'\x01': return {0x241, false};
    case u'x': return {0x258, false};  // a layout claiming Ctrl for a printable character
    case u'|': return {0x4E2, false};  // Alt alone
    default: return {};
    }
}

TEST(PlanKeyEventsTest, CharactersAsKeysOrUnicodeModifiersAndHeldKeys) {
    struct Case {
        const char* name;
        std::u16string keys;
        std::vector<uint16_t> held;
        std::vector<KeyEvent> want;
    };
    const uint16_t shift = vk::kShift, ctrl = vk::kControl;
    const Case cases[] = {
        {"plain letter", u"a", {}, {Down(0x41), Up(0x41)}},
        {"Shift added", u"A", {}, {Down(shift), Down(0x41), Up(0x41), Up(shift)}},
        {"Shift the script holds", u"+(A)", {}, {Down(shift), Down(0x41), Up(0x41), Up(shift)}},
        {"AltGr as Unicode", u"@", {}, Unicode(u'@')},
        {"dead key as Unicode", u"{^}", {}, Unicode(u'^')},
        {"no key", u"\u20ac", {}, Unicode(u'\u20ac')},
        {"Ctrl for a control character", u"\x01", {}, {Down(ctrl), Down(0x41), Up(0x41), Up(ctrl)}},
        {"Ctrl for a printable one", u"x", {}, Unicode(u'x')},
        {"Alt alone", u"|", {}, Unicode(u'|')},
        {"extended named keys",
         u"{END}{DIVIDE}{F1}",
         {},
         {Down(0x23, true), Up(0x23, true), Down(0x6F, true), Up(0x6F, true), Down(0x70), Up(0x70)}},
        {"held Shift let go", u"a", {vk::kLShift}, {Up(vk::kLShift), Down(0x41), Up(0x41)}},
        {"held Ctrl and right Alt: mask first",
         u"a",
         {vk::kLControl, vk::kRMenu},
         {Down(kMenuMaskKey), Up(kMenuMaskKey), Up(vk::kLControl), Up(vk::kRMenu, true), Down(0x41), Up(0x41)}},
        {"held Windows key: one mask",
         u"",
         {vk::kLWin, vk::kLMenu},
         {Down(kMenuMaskKey), Up(kMenuMaskKey), Up(vk::kLWin, true), Up(vk::kLMenu)}},
    };
    for (const Case& c : cases) {
        std::vector<KeyAction> actions;
        ASSERT_EQ(ParseSendKeys(c.keys, actions), KeyParseStatus::Ok) << c.name;
        EXPECT_EQ(PlanKeyEvents(actions, c.held, German), c.want) << c.name;
    }
}

}  // namespace
}  // namespace ombrisk
