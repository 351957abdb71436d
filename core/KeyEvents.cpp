#include "core/KeyEvents.h"

namespace ombrisk {
namespace {

constexpr int kShiftBit = 1;
constexpr int kCtrlBit = 2;
constexpr uint16_t kModifierKeys[3] = {vk::kShift, vk::kControl, vk::kMenu};  // in bit order

KeyEvent Key(uint16_t code, bool up) { return KeyEvent{code, 0, up, IsExtendedKey(code)}; }

bool IsControlCharacter(char16_t ch) { return ch < 0x20 || ch == 0x7F; }

// Whether the layout's key types ch as it stands: a printable character needs at most Shift, a
// control character at most Shift and Ctrl.
bool TypedByKey(char16_t ch, const LayoutKey& key) {
    if (key.keyScan == -1 || key.dead) return false;
    const int needs = (key.keyScan >> 8) & 0xFF;
    const int allowed = IsControlCharacter(ch) ? kShiftBit | kCtrlBit : kShiftBit;
    return (needs & ~allowed) == 0;
}

bool NeedsMask(uint16_t held) { return held == vk::kLMenu || held == vk::kRMenu || held == vk::kLWin || held == vk::kRWin; }

}  // namespace

std::vector<KeyEvent> PlanKeyEvents(const std::vector<KeyAction>& actions, const std::vector<uint16_t>& heldByUser,
                                    const std::function<LayoutKey(char16_t)>& layout) {
    std::vector<KeyEvent> events;
    events.reserve(actions.size() * 2 + heldByUser.size() + 2);
    for (uint16_t held : heldByUser) {
        if (!NeedsMask(held)) continue;
        events.push_back(Key(kMenuMaskKey, false));
        events.push_back(Key(kMenuMaskKey, true));
        break;
    }
    for (uint16_t held : heldByUser) events.push_back(Key(held, true));

    bool down[3] = {false, false, false};  // Shift, Ctrl, Alt pressed by the script
    for (const KeyAction& a : actions) {
        if (a.kind != KeyAction::Character) {
            const bool up = a.kind == KeyAction::VirtualKeyUp;
            for (int m = 0; m < 3; ++m)
                if (a.vk == kModifierKeys[m]) down[m] = !up;
            events.push_back(Key(a.vk, up));
            continue;
        }
        const LayoutKey key = layout(a.ch);
        if (!TypedByKey(a.ch, key)) {
            events.push_back(KeyEvent{0, a.ch, false, false});
            events.push_back(KeyEvent{0, a.ch, true, false});
            continue;
        }
        const int needs = (key.keyScan >> 8) & 0xFF;
        const auto code = static_cast<uint16_t>(key.keyScan & 0xFF);
        bool added[3] = {false, false, false};
        for (int m = 0; m < 3; ++m)
            if ((needs & (1 << m)) && !down[m]) {
                events.push_back(Key(kModifierKeys[m], false));
                added[m] = true;
            }
        events.push_back(Key(code, false));
        events.push_back(Key(code, true));
        for (int m = 2; m >= 0; --m)
            if (added[m]) events.push_back(Key(kModifierKeys[m], true));
    }
    return events;
}

}  // namespace ombrisk
