// The key events that type a parsed key string (KeyParser.h) into the host: which characters go
// as keys of the host's keyboard layout and which as Unicode input, the modifiers a character's
// key needs, the extended-key flag, and letting go of the modifiers the user still holds.
// Portable and pure; the Win32 shell asks the layout and plays the events.
#pragma once

#include "core/KeyParser.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ombrisk {

// What a keyboard layout says about one character.
struct LayoutKey {
    // As VkKeyScanEx reports it: the virtual key in the low byte, the modifiers in the high byte
    // (1 Shift, 2 Ctrl, 4 Alt; AltGr is Ctrl+Alt); -1 when no key of the layout types it.
    int16_t keyScan = -1;
    // The key is a dead key: it types nothing itself and changes the character after it.
    bool dead = false;
};

// One key going down or up: a virtual key, or one UTF-16 unit as Unicode input (vk 0).
struct KeyEvent {
    uint16_t vk;
    char16_t unit;
    bool up;
    bool extended;  // KEYEVENTF_EXTENDEDKEY
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
// them is an Alt or Windows key); none is pressed again. A character is typed with its key
// (adding the Shift, and for a control character the Ctrl, that it needs and the script does not
// already hold) unless layout(ch) gives no key, a dead key, or a key that needs Alt or, for a
// printable character, Ctrl (AltGr characters, which a program could take for shortcuts): then
// as Unicode input. Keys that IsExtendedKey names carry the extended flag.
std::vector<KeyEvent> PlanKeyEvents(const std::vector<KeyAction>& actions, const std::vector<uint16_t>& heldByUser,
                                    const std::function<LayoutKey(char16_t)>& layout);

}  // namespace ombrisk
