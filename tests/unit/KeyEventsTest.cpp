#include "core/KeyEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

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
        EXPECT_EQ(PlanKeyEvents(actions, c.held, false, German), c.want) << c.name;
    }
}

std::vector<KeyEvent> Plan(std::u16string_view keys, bool capsLockOn, LayoutKey (*layout)(char16_t)) {
    std::vector<KeyAction> actions;
    EXPECT_EQ(ParseSendKeys(keys, actions), KeyParseStatus::Ok);
    return PlanKeyEvents(actions, {}, capsLockOn, layout);
}

// A layout without Latin letters (Cyrillic on the letter keys) whose digits need Shift, as an
// AZERTY keyboard's do.
LayoutKey Cyrillic(char16_t ch) {
    if (ch == u'\u0444') return {0x41, false, true};  // on the key VK_A
    return ch == u'1' ? LayoutKey{0x131, false, false} : LayoutKey{};
}

// A US layout: letters change with Caps Lock, digits and the space bar do not.
LayoutKey Us(char16_t ch) {
    if (ch >= u'a' && ch <= u'z') return {static_cast<int16_t>(ch - 0x20), false, true};
    if (ch >= u'A' && ch <= u'Z') return {static_cast<int16_t>(0x100 | ch), false, true};
    if (ch == u' ' || (ch >= u'0' && ch <= u'9')) return {static_cast<int16_t>(ch), false, false};
    return {};
}

// Events as "+11 -11" (down, up; the virtual key in hex), "+u66" for Unicode input, "!" after the
// sender's own Caps Lock presses.
std::string Render(const std::vector<KeyEvent>& events) {
    std::string out;
    char one[16];
    for (const KeyEvent& e : events) {
        std::snprintf(one, sizeof one, "%s%c%s%X%s", out.empty() ? "" : " ", e.up ? '-' : '+', e.vk ? "" : "u",
                      e.vk ? e.vk : e.unit, e.capsFix ? "!" : "");
        out += one;
    }
    return out;
}

TEST(PlanKeyEventsTest, ShortcutsNameTheirKeysAndCapsLockStaysOutOfTheText) {
    struct Case {
        const char* name;
        std::u16string keys;
        LayoutKey (*layout)(char16_t);
        bool capsLockOn;
        const char* want;
    };
    const Case cases[] = {
        {"Ctrl+F without a Latin F", u"^f", Cyrillic, false, "+11 +46 -46 -11"},
        {"Shift+Ctrl+S", u"+^s", Cyrillic, false, "+10 +11 +53 -53 -11 -10"},
        {"Alt+Q", u"%q", Cyrillic, false, "+12 +51 -51 -12"},
        {"a capital adds Shift", u"^A", Cyrillic, false, "+11 +10 +41 -41 -10 -11"},
        {"a group, Ctrl+1 without the layout's Shift", u"^(a1)", Cyrillic, false, "+11 +41 -41 +31 -31 -11"},
        {"the digit as text takes it", u"1", Cyrillic, false, "+10 +31 -31 -10"},
        {"Shift alone is text", u"+f", Cyrillic, false, "+10 +u66 -u66 -10"},
        {"the layout's own letter with Ctrl", u"^\u0444", Cyrillic, false, "+11 +41 -41 -11"},
        {"Caps Lock off: as typed", u"aC", Us, false, "+41 -41 +10 +43 -43 -10"},
        {"on: turned off around the letters", u"a +e", Us, true, "+14! -14! +41 -41 +20 -20 +10 +45 -45 -10 +14! -14!"},
        {"on: digits and shortcuts need no change", u"1^c", Us, true, "+31 -31 +11 +43 -43 -11"},
        {"the script's own Caps Lock is a key", u"{CAPSLOCK}b", Us, false, "+14 -14 +14! -14! +42 -42 +14! -14!"},
        {"turned off by the script: nothing to fix", u"{CAPSLOCK}b", Us, true, "+14 -14 +42 -42"},
    };
    for (const Case& c : cases) EXPECT_EQ(Render(Plan(c.keys, c.capsLockOn, c.layout)), c.want) << c.name;
}

// Played up to any point and undone there, a plan leaves no key down, no Unicode unit pending
// and Caps Lock where the key string's own presses so far put it.
TEST(UndoAfterCutTest, NothingStaysDownWhereverTypingStops) {
    const std::vector<KeyEvent> events = Plan(u"x%(a)+{DOWN 2}\u20ac{CAPSLOCK}+B", true, Us);
    for (size_t cut = 0; cut <= events.size(); ++cut) {
        std::vector<KeyEvent> played(events.begin(), events.begin() + static_cast<ptrdiff_t>(cut));
        const std::vector<KeyEvent> undo = UndoAfterCut(events, cut);
        played.insert(played.end(), undo.begin(), undo.end());
        std::vector<uint16_t> down;
        int unicodeDown = 0, fixes = 0;
        for (size_t i = 0; i + 1 < played.size(); ++i)
            EXPECT_FALSE(played[i] == Down(vk::kMenu) && played[i + 1] == Up(vk::kMenu)) << "a lone Alt let go at " << cut;
        for (const KeyEvent& e : played) {
            if (e.vk == 0) {
                unicodeDown += e.up ? -1 : 1;
                continue;
            }
            const auto at = std::find(down.begin(), down.end(), e.vk);
            if (e.up && at != down.end()) down.erase(at);
            if (!e.up && at == down.end()) {
                down.push_back(e.vk);
                if (e.capsFix) ++fixes;
            }
        }
        EXPECT_TRUE(down.empty()) << "keys down after a cut at " << cut;
        EXPECT_EQ(unicodeDown, 0) << cut;
        EXPECT_EQ(fixes % 2, 0) << "Caps Lock fixes unpaired at " << cut;
        if (cut == events.size()) EXPECT_TRUE(undo.empty());
    }
}

// Dead keys and Caps Lock are judged in the shift state the character is typed in: on
// US-International the caret is Shift+6 and dead there, while 6 itself is not.
TEST(DescribeLayoutKeyTest, JudgesTheStateTheKeyIsTypedIn) {
    auto usInternational = [](uint16_t code, const KeyboardBytes& state) {
        const bool shifted = (state[vk::kShift] & 0x80) && (state[vk::kLShift] & 0x80);
        const bool caps = state[vk::kCapital] & 1;
        EXPECT_EQ(state[vk::kControl] | state[vk::kMenu], 0);
        if (code == 0x36) return shifted ? Translation{-1, u'^'} : Translation{1, u'6'};
        if (code == 0xDE) return Translation{-1, shifted ? u'"' : u'\''};
        if (code == 0x41) return Translation{1, shifted != caps ? u'A' : u'a'};
        return Translation{};
    };
    struct Case {
        int16_t keyScan;
        bool dead, capsLockChanges;
    };
    const Case cases[] = {{0x136, true, false}, {0x36, false, false}, {0x1DE, true, false}, {0xDE, true, false},
                          {0x41, false, true},  {0x141, false, true}, {-1, false, false}};
    for (const Case& c : cases) {
        const LayoutKey key = DescribeLayoutKey(c.keyScan, usInternational);
        EXPECT_EQ(key.keyScan, c.keyScan);
        EXPECT_EQ(key.dead, c.dead) << std::hex << c.keyScan;
        EXPECT_EQ(key.capsLockChanges, c.capsLockChanges) << std::hex << c.keyScan;
    }
}

}  // namespace
}  // namespace ombrisk
