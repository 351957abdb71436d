// Parser of the SendKeys key syntax into a flat list of key actions; the Win32 shell plays them
// (characters through the keyboard layout or as Unicode input, named keys by virtual-key code).
// Portable and pure.
//
// Syntax: a character types itself; "+", "^", "%" hold Shift, Ctrl, Alt for the next key or the
// next parenthesised group "(...)" (groups nest; a modifier already held is not pressed again);
// "~" is Enter; "{NAME}" is a named key and "{NAME n}" repeats it n times (0..kMaxKeyRepeat,
// decimal); "{x}" and "{x n}" type any one character literally, which is how the syntax
// characters + ^ % ~ ( ) { } [ ] are typed. "[" and "]" outside braces type themselves too.
// Key names (ASCII letters in any case): BACKSPACE BS BKSP BREAK CAPSLOCK DELETE DEL DOWN END
// ENTER ESC HELP HOME INSERT INS LEFT NUMLOCK PGDN PGUP PRTSC RIGHT SCROLLLOCK TAB UP F1..F16,
// and on the numeric keypad ADD SUBTRACT MULTIPLY DIVIDE DECIMAL NUMPAD0..NUMPAD9. SPACE is not
// a key name: a space character types a space. A surrogate pair counts as one character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ombrisk {

// Windows virtual-key codes of the keys the parser names (the values of the VK_ constants).
namespace vk {
constexpr uint16_t kCancel = 0x03;  // BREAK
constexpr uint16_t kBack = 0x08;
constexpr uint16_t kTab = 0x09;
constexpr uint16_t kReturn = 0x0D;
constexpr uint16_t kShift = 0x10;
constexpr uint16_t kControl = 0x11;
constexpr uint16_t kMenu = 0x12;  // Alt
constexpr uint16_t kCapital = 0x14;
constexpr uint16_t kEscape = 0x1B;
constexpr uint16_t kPrior = 0x21;  // PGUP
constexpr uint16_t kNext = 0x22;   // PGDN
constexpr uint16_t kEnd = 0x23;
constexpr uint16_t kHome = 0x24;
constexpr uint16_t kLeft = 0x25;
constexpr uint16_t kUp = 0x26;
constexpr uint16_t kRight = 0x27;
constexpr uint16_t kDown = 0x28;
constexpr uint16_t kSnapshot = 0x2C;  // PRTSC
constexpr uint16_t kInsert = 0x2D;
constexpr uint16_t kDelete = 0x2E;
constexpr uint16_t kHelp = 0x2F;
constexpr uint16_t kLWin = 0x5B;
constexpr uint16_t kRWin = 0x5C;
constexpr uint16_t kApps = 0x5D;
constexpr uint16_t kNumpad0 = 0x60;  // NUMPAD0..NUMPAD9 are 0x60..0x69
constexpr uint16_t kMultiply = 0x6A;
constexpr uint16_t kAdd = 0x6B;
constexpr uint16_t kSubtract = 0x6D;
constexpr uint16_t kDecimal = 0x6E;
constexpr uint16_t kDivide = 0x6F;
constexpr uint16_t kF1 = 0x70;  // F1..F16 are 0x70..0x7F
constexpr uint16_t kNumLock = 0x90;
constexpr uint16_t kScroll = 0x91;
constexpr uint16_t kLShift = 0xA0;  // the left and right modifier keys, which no key name gives
constexpr uint16_t kRShift = 0xA1;
constexpr uint16_t kLControl = 0xA2;
constexpr uint16_t kRControl = 0xA3;
constexpr uint16_t kLMenu = 0xA4;
constexpr uint16_t kRMenu = 0xA5;
}  // namespace vk

// A Character action carries ch (vk 0); a VirtualKey action carries vk (ch 0).
struct KeyAction {
    enum Kind { VirtualKeyDown, VirtualKeyUp, Character };
    Kind kind;
    uint16_t vk;
    char16_t ch;
    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

enum class KeyParseStatus {
    Ok,
    UnknownKeyName,         // "{NAME}" with a name that is not in the list above
    UnbalancedBraces,       // "{" without its "}", or a "}" outside braces
    UnbalancedParentheses,  // "(" without its ")", or a ")" without its "("
    BadRepeatCount,         // "{NAME n}" whose n is not 0..kMaxKeyRepeat in decimal digits
    ModifierWithoutKey,     // "+", "^" or "%" followed by nothing, or by the ")" of its group
    TooManyActions,         // the expansion would exceed kMaxKeyActions
};

constexpr uint32_t kMaxKeyRepeat = 100000;
constexpr size_t kMaxKeyActions = 1000000;

// Replaces `out` with the actions for `keys`. Modifiers go down before and up after (in reverse
// order) the key or group they wrap, around all repeats of a key. On failure `out` is left
// empty and *errorPos (when given) is the index in `keys` where the fault was found.
KeyParseStatus ParseSendKeys(std::u16string_view keys, std::vector<KeyAction>& out, size_t* errorPos = nullptr);

// True for the keys Windows reports with the extended-key flag (arrows, the navigation block,
// keypad divide, NumLock, PrtSc, Break, right Ctrl and Alt, the Windows and menu keys); the
// shell sets KEYEVENTF_EXTENDEDKEY for them.
bool IsExtendedKey(uint16_t virtualKey);

}  // namespace ombrisk
