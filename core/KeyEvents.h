// The key events that type a parsed key string (KeyParser.h) into the host: which characters go
// as keys of the host's keyboard layout and which as Unicode input, the modifiers a character's
// key needs, shortcuts as the keys their letters name, Caps Lock kept out of the text, the
// extended-key flag, letting go of the modifiers the user still holds, and the events that put
// the keyboard back when typing stops early. Portable and pure; the Win32 shell asks the layout
// and plays the events.
#pragma once

#include "core/KeyParser.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace ombrisk {

// Modifier bits as VkKeyScanEx reports them in its high byte (AltGr is Ctrl+Alt).
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

// What a keyboard layout says about one character.
struct LayoutKey {
    // As VkKeyScanEx reports it: the virtual key in the low byte, the modifier bits in the high
    // byte; -1 when no key of the layout types it.
    int16_t keyScan = -1;
    // In the shift state keyScan names, the key is a dead key: it types nothing itself and
    // changes the character after it.
    bool dead = false;
    // Caps Lock on would make the key type another character in that state.
    bool capsLockChanges = false;
};

// A keyboard state as ToUnicodeEx takes it: 256 bytes, bit 7 down, bit 0 toggled.
using KeyboardBytes = std::array<uint8_t, 256>;

// What ToUnicodeEx made of one key in one keyboard state: its result (the number of UTF-16
// units typed, negative for a dead key, 0 for none) and the first unit.
struct Translation {
    int result = 0;
    char16_t unit = 0;
};

// The LayoutKey of a key that VkKeyScanEx gave as keyScan, asking translate (ToUnicodeEx on a
// state of the modifiers keyScan needs and nothing else) whether the key is dead in that very
// state, and whether Caps Lock changes what it types there. keyScan -1 asks nothing.
LayoutKey DescribeLayoutKey(int16_t keyScan, const std::function<Translation(uint16_t vk, const KeyboardBytes&)>& translate);

// One key going down or up: a virtual key, or one UTF-16 unit as Unicode input (vk 0).
struct KeyEvent {
    uint16_t vk;
    char16_t unit;
    bool up;
    bool extended;  // KEYEVENTF_EXTENDEDKEY
    // A Caps Lock press of the sender's own, which keeps the user's Caps Lock out of the text;
    // the presses come in pairs, so the toggle ends as the key string leaves it.
    bool capsFix = false;
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// The modifier keys a user can hold (left and right Shift, Ctrl, Alt, the Windows keys), whose
// state the shell reads before typing.
inline constexpr uint16_t kHeldModifierKeys[] = {vk::kLShift, vk::kRShift, vk::kLControl, vk::kRControl,
                                                 vk::kLMenu,  vk::kRMenu,  vk::kLWin,     vk::kRWin};

// An unassigned key pressed before a held Alt or Windows key is let go: a lone Alt going up
// opens the window's menu, a lone Windows key the Start menu.
inline constexpr uint16_t kMenuMaskKey = 0xFF;

// The events for actions. First every key of heldByUser goes up (after kMenuMaskKey when one of
// them is an Alt or Windows key); none is pressed again.
// A Latin letter or a digit typed while the key string holds Ctrl or Alt names a shortcut: it
// goes as its own virtual key (VK_A..VK_Z, VK_0..VK_9), whatever the layout, with Shift added
// only for a capital letter. Any other character is typed with its layout key (adding the
// Shift, and for a control character the Ctrl, that it needs and the script does not already
// hold) unless layout(ch) gives no key, a dead key, or a key that needs Alt or, for a printable
// character, Ctrl (AltGr characters, which a program could take for shortcuts): then as Unicode
// input. With Caps Lock on (capsLockOn, and the key string's own {CAPSLOCK} presses), a layout
// key that Caps Lock changes is typed after a capsFix press that turns it off, and another at
// the end turns it on again. Keys that IsExtendedKey names carry the extended flag.
std::vector<KeyEvent> PlanKeyEvents(const std::vector<KeyAction>& actions, const std::vector<uint16_t>& heldByUser,
                                    bool capsLockOn, const std::function<LayoutKey(char16_t)>& layout);

// The events that undo what the first `sent` of events left behind when typing stops there: every
// key still down goes up (the last pressed first, after kMenuMaskKey when an Alt or Windows key
// is among them), a Unicode unit still down goes up, and an odd count of capsFix presses gets
// one more. Nothing when the whole plan was sent.
std::vector<KeyEvent> UndoAfterCut(const std::vector<KeyEvent>& events, size_t sent);

}  // namespace ombrisk
