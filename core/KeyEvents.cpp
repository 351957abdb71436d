#include "core/KeyEvents.h"

#include <algorithm>

namespace ombrisk {
namespace {

constexpr uint16_t kModifierKeys[3] = {vk::kShift, vk::kControl, vk::kMenu};  // in bit order

KeyEvent Key(uint16_t code, bool up) { return KeyEvent{code, 0, up, IsExtendedKey(code)}; }

void Tap(std::vector<KeyEvent>& events, uint16_t code, bool capsFix = false) {
    events.push_back(KeyEvent{code, 0, false, IsExtendedKey(code), capsFix});
    events.push_back(KeyEvent{code, 0, true, IsExtendedKey(code), capsFix});
}

bool IsControlCharacter(char16_t ch) { return ch < 0x20 || ch == 0x7F; }
bool IsCapitalLetter(char16_t ch) { return ch >= u'A' && ch <= u'Z'; }
bool IsLatinLetterOrDigit(char16_t ch) {
    return IsCapitalLetter(ch) || (ch >= u'a' && ch <= u'z') || (ch >= u'0' && ch <= u'9');
}

// Whether the layout's key types ch as it stands: a printable character needs at most Shift, a
// control character at most Shift and Ctrl.
bool TypedByKey(char16_t ch, const LayoutKey& key) {
    if (key.keyScan == -1 || key.dead) return false;
    const int needs = (key.keyScan >> 8) & 0xFF;
    const int allowed = IsControlCharacter(ch) ? kShiftBit | kCtrlBit : kShiftBit;
    return (needs & ~allowed) == 0;
}

bool NeedsMask(uint16_t key) {
    return key == vk::kMenu || key == vk::kLMenu || key == vk::kRMenu || key == vk::kLWin || key == vk::kRWin;
}

// Presses the modifiers of `needs` that the script does not hold, the key, and lets them go again.
void TypeWith(std::vector<KeyEvent>& events, uint16_t code, int needs, const bool (&down)[3]) {
    bool added[3] = {false, false, false};
    for (int m = 0; m < 3; ++m)
        if ((needs & (1 << m)) && !down[m]) {
            events.push_back(Key(kModifierKeys[m], false));
            added[m] = true;
        }
    Tap(events, code);
    for (int m = 2; m >= 0; --m)
        if (added[m]) events.push_back(Key(kModifierKeys[m], true));
}

}  // namespace

LayoutKey DescribeLayoutKey(int16_t keyScan, const std::function<Translation(uint16_t, const KeyboardBytes&)>& translate) {
    if (keyScan == -1) return {};
    const int needs = (keyScan >> 8) & 0xFF;
    const auto code = static_cast<uint16_t>(keyScan & 0xFF);
    KeyboardBytes state{};
    if (needs & kShiftBit) state[vk::kShift] = state[vk::kLShift] = 0x80;
    if (needs & kCtrlBit) state[vk::kControl] = state[vk::kLControl] = 0x80;
    if (needs & kAltBit) state[vk::kMenu] = state[vk::kLMenu] = 0x80;
    const Translation plain = translate(code, state);
    if (plain.result < 0) return LayoutKey{keyScan, true, false};
    state[vk::kCapital] = 0x01;
    const Translation caps = translate(code, state);
    return LayoutKey{keyScan, false, caps.result != plain.result || caps.unit != plain.unit};
}

std::vector<KeyEvent> PlanKeyEvents(const std::vector<KeyAction>& actions, const std::vector<uint16_t>& heldByUser,
                                    bool capsLockOn, const std::function<LayoutKey(char16_t)>& layout) {
    std::vector<KeyEvent> events;
    events.reserve(actions.size() * 2 + heldByUser.size() + 6);
    if (std::any_of(heldByUser.begin(), heldByUser.end(), NeedsMask)) Tap(events, kMenuMaskKey);
    for (uint16_t held : heldByUser) events.push_back(Key(held, true));

    bool down[3] = {false, false, false};  // Shift, Ctrl, Alt pressed by the script
    bool caps = capsLockOn;
    bool capsFixed = false;  // an odd number of capsFix presses so far
    for (const KeyAction& a : actions) {
        if (a.kind != KeyAction::Character) {
            const bool up = a.kind == KeyAction::VirtualKeyUp;
            for (int m = 0; m < 3; ++m)
                if (a.vk == kModifierKeys[m]) down[m] = !up;
            if (a.vk == vk::kCapital && !up) caps = !caps;
            events.push_back(Key(a.vk, up));
            continue;
        }
        if ((down[1] || down[2]) && IsLatinLetterOrDigit(a.ch)) {
            // A shortcut: the key the letter names, as on a Latin keyboard, without the Shift a
            // layout would add for a digit or the Unicode input it would need for a letter.
            const auto code = static_cast<uint16_t>(a.ch >= u'a' ? a.ch - (u'a' - u'A') : a.ch);
            TypeWith(events, code, IsCapitalLetter(a.ch) ? kShiftBit : 0, down);
            continue;
        }
        const LayoutKey key = layout(a.ch);
        if (!TypedByKey(a.ch, key)) {
            events.push_back(KeyEvent{0, a.ch, false, false});
            events.push_back(KeyEvent{0, a.ch, true, false});
            continue;
        }
        if (caps && key.capsLockChanges) {
            Tap(events, vk::kCapital, true);
            caps = false;
            capsFixed = !capsFixed;
        }
        TypeWith(events, static_cast<uint16_t>(key.keyScan & 0xFF), (key.keyScan >> 8) & 0xFF, down);
    }
    if (capsFixed) Tap(events, vk::kCapital, true);
    return events;
}

std::vector<KeyEvent> UndoAfterCut(const std::vector<KeyEvent>& events, size_t sent) {
    std::vector<KeyEvent> undo;
    if (sent >= events.size()) return undo;
    std::vector<uint16_t> down;  // in the order they went down
    const KeyEvent* unicodeDown = nullptr;
    bool capsFixed = false;
    for (size_t i = 0; i < sent; ++i) {
        const KeyEvent& e = events[i];
        if (e.vk == 0) {
            unicodeDown = e.up ? nullptr : &e;
            continue;
        }
        const auto at = std::find(down.begin(), down.end(), e.vk);
        if (e.up) {
            if (at != down.end()) down.erase(at);
            continue;
        }
        if (at == down.end()) down.push_back(e.vk);
        if (e.capsFix) capsFixed = !capsFixed;
    }
    if (unicodeDown) undo.push_back(KeyEvent{0, unicodeDown->unit, true, false});
    const auto mask = std::find(down.begin(), down.end(), kMenuMaskKey);
    const bool maskDown = mask != down.end();
    if (maskDown) down.erase(mask);
    if (maskDown || std::any_of(down.begin(), down.end(), NeedsMask)) Tap(undo, kMenuMaskKey);
    for (auto it = down.rbegin(); it != down.rend(); ++it) undo.push_back(Key(*it, true));
    if (capsFixed) Tap(undo, vk::kCapital, true);
    return undo;
}

}  // namespace ombrisk
