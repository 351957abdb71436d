#include "core/KeyParser.h"

#include "core/AsciiText.h"

#include <optional>
#include <utility>

namespace ombrisk {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

struct NamedKey {
    std::u16string_view name;
    uint16_t vk;
};

constexpr NamedKey kNamedKeys[] = {
    {u"BACKSPACE", vk::kBack},   {u"BS", vk::kBack},           {u"BKSP", vk::kBack},         {u"BREAK", vk::kCancel},
    {u"CAPSLOCK", vk::kCapital}, {u"DELETE", vk::kDelete},     {u"DEL", vk::kDelete},        {u"DOWN", vk::kDown},
    {u"END", vk::kEnd},          {u"ENTER", vk::kReturn},      {u"ESC", vk::kEscape},        {u"HELP", vk::kHelp},
    {u"HOME", vk::kHome},        {u"INSERT", vk::kInsert},     {u"INS", vk::kInsert},        {u"LEFT", vk::kLeft},
    {u"NUMLOCK", vk::kNumLock},  {u"PGDN", vk::kNext},         {u"PGUP", vk::kPrior},        {u"PRTSC", vk::kSnapshot},
    {u"RIGHT", vk::kRight},      {u"SCROLLLOCK", vk::kScroll}, {u"TAB", vk::kTab},           {u"UP", vk::kUp},
    {u"ADD", vk::kAdd},          {u"SUBTRACT", vk::kSubtract}, {u"MULTIPLY", vk::kMultiply}, {u"DIVIDE", vk::kDivide},
    {u"DECIMAL", vk::kDecimal},
};

std::optional<uint16_t> LookUpKeyName(std::u16string_view name) {
    for (const NamedKey& k : kNamedKeys)
        if (EqualsNoCase(name, k.name)) return k.vk;
    // F1..F16 and NUMPAD0..NUMPAD9, without leading zeros.
    if (name.size() >= 2 && name.size() <= 3 && AsciiUpper(name[0]) == u'F' && name[1] != u'0') {
        unsigned n = 0;
        for (char16_t c : name.substr(1)) {
            if (!IsDigit(c)) return std::nullopt;
            n = n * 10 + (c - u'0');
        }
        if (n >= 1 && n <= 16) return uint16_t(vk::kF1 + n - 1);
        return std::nullopt;
    }
    if (name.size() == 7 && EqualsNoCase(name.substr(0, 6), u"NUMPAD") && IsDigit(name[6]))
        return uint16_t(vk::kNumpad0 + (name[6] - u'0'));
    return std::nullopt;
}

// One key as the syntax sees it: a virtual key, or one character (one or two code units).
struct Key {
    uint16_t vk = 0;
    char16_t units[2] = {0, 0};
    size_t unitCount = 0;
};

// Builds the action list; every emit checks the action limit so the output stays bounded.
class Parser {
public:
    explicit Parser(std::u16string_view keys) : keys_(keys) {}

    KeyParseStatus Run(size_t& errorPos) {
        for (pos_ = 0; pos_ < keys_.size();) {
            const size_t at = pos_;
            const KeyParseStatus s = Step();
            if (s != KeyParseStatus::Ok) {
                errorPos = error_ != kNoError ? error_ : at;
                return s;
            }
        }
        if (pendingModifiers_ > 0) {
            errorPos = pendingPos_;
            return KeyParseStatus::ModifierWithoutKey;
        }
        if (!groups_.empty()) {
            errorPos = groups_.back().openPos;
            return KeyParseStatus::UnbalancedParentheses;
        }
        return KeyParseStatus::Ok;
    }

    std::vector<KeyAction>& Actions() { return actions_; }

private:
    static constexpr size_t kNoError = static_cast<size_t>(-1);

    struct Group {
        size_t heldAtOpen;  // held_ entries below this index belong to enclosing scopes
        size_t openPos;
    };

    KeyParseStatus Step() {
        const char16_t c = keys_[pos_];
        switch (c) {
        case u'+': return Modifier(vk::kShift);
        case u'^': return Modifier(vk::kControl);
        case u'%': return Modifier(vk::kMenu);
        case u'(': return OpenGroup();
        case u')': return CloseGroup();
        case u'}': return KeyParseStatus::UnbalancedBraces;
        case u'{': return Braced();
        case u'~': {
            ++pos_;
            Key k;
            k.vk = vk::kReturn;
            return Press(k, 1);
        }
        default: {
            Key k;
            k.units[k.unitCount++] = c;
            ++pos_;
            if (IsHighSurrogate(c) && pos_ < keys_.size() && IsLowSurrogate(keys_[pos_]))
                k.units[k.unitCount++] = keys_[pos_++];
            return Press(k, 1);
        }
        }
    }

    KeyParseStatus Modifier(uint16_t modifier) {
        if (pendingModifiers_++ == 0) pendingPos_ = pos_;
        ++pos_;
        for (uint16_t h : held_)
            if (h == modifier) return KeyParseStatus::Ok;
        if (!Emit({KeyAction::VirtualKeyDown, modifier, 0})) return KeyParseStatus::TooManyActions;
        held_.push_back(modifier);
        return KeyParseStatus::Ok;
    }

    KeyParseStatus OpenGroup() {
        // The modifiers pressed for this group stay down until its ")".
        groups_.push_back({pendingStart_, pos_});
        pendingStart_ = held_.size();
        pendingModifiers_ = 0;
        ++pos_;
        return KeyParseStatus::Ok;
    }

    KeyParseStatus CloseGroup() {
        if (pendingModifiers_ > 0) {
            error_ = pendingPos_;
            return KeyParseStatus::ModifierWithoutKey;
        }
        if (groups_.empty()) return KeyParseStatus::UnbalancedParentheses;
        const Group g = groups_.back();
        groups_.pop_back();
        ++pos_;
        if (!Release(g.heldAtOpen)) return KeyParseStatus::TooManyActions;
        pendingStart_ = held_.size();
        return KeyParseStatus::Ok;
    }

    // "{content}": the first content character may itself be "}", so "{}}" types "}".
    KeyParseStatus Braced() {
        const size_t open = pos_;
        if (open + 1 >= keys_.size()) return KeyParseStatus::UnbalancedBraces;
        const size_t close = keys_.find(u'}', open + 2);
        if (close == std::u16string_view::npos) return KeyParseStatus::UnbalancedBraces;
        const std::u16string_view content = keys_.substr(open + 1, close - open - 1);

        std::u16string_view name = content;
        uint32_t count = 1;
        const size_t space = content.size() > 1 ? content.rfind(u' ') : std::u16string_view::npos;
        if (space != std::u16string_view::npos && space > 0) {
            name = content.substr(0, space);
            const std::u16string_view digits = content.substr(space + 1);
            if (digits.empty()) return KeyParseStatus::BadRepeatCount;
            count = 0;
            for (char16_t d : digits) {
                if (!IsDigit(d)) return KeyParseStatus::BadRepeatCount;
                count = count * 10 + (d - u'0');
                if (count > kMaxKeyRepeat) return KeyParseStatus::BadRepeatCount;
            }
        }

        Key k;
        if (name.size() == 1 || (name.size() == 2 && IsHighSurrogate(name[0]) && IsLowSurrogate(name[1]))) {
            for (char16_t u : name) k.units[k.unitCount++] = u;
        } else if (const auto code = LookUpKeyName(name)) {
            k.vk = *code;
        } else {
            return KeyParseStatus::UnknownKeyName;
        }
        pos_ = close + 1;
        return Press(k, count);
    }

    // Plays a key `count` times, then lets go of the modifiers that were waiting for it.
    KeyParseStatus Press(const Key& k, uint32_t count) {
        const size_t perKey = k.unitCount > 0 ? k.unitCount : 2;
        if (size_t(count) * perKey > kMaxKeyActions - actions_.size()) return KeyParseStatus::TooManyActions;
        for (uint32_t i = 0; i < count; ++i) {
            if (k.unitCount > 0) {
                for (size_t u = 0; u < k.unitCount; ++u) actions_.push_back({KeyAction::Character, 0, k.units[u]});
            } else {
                actions_.push_back({KeyAction::VirtualKeyDown, k.vk, 0});
                actions_.push_back({KeyAction::VirtualKeyUp, k.vk, 0});
            }
        }
        pendingModifiers_ = 0;
        if (!Release(pendingStart_)) return KeyParseStatus::TooManyActions;
        return KeyParseStatus::Ok;
    }

    // Lets go of the held modifiers above `depth`, the last pressed first.
    bool Release(size_t depth) {
        while (held_.size() > depth) {
            if (!Emit({KeyAction::VirtualKeyUp, held_.back(), 0})) return false;
            held_.pop_back();
        }
        return true;
    }

    bool Emit(KeyAction a) {
        if (actions_.size() >= kMaxKeyActions) return false;
        actions_.push_back(a);
        return true;
    }

    std::u16string_view keys_;
    size_t pos_ = 0;
    size_t error_ = kNoError;
    std::vector<KeyAction> actions_;
    std::vector<uint16_t> held_;  // modifiers down, in the order they went down
    std::vector<Group> groups_;
    size_t pendingStart_ = 0;      // held_ entries from here on wait for the next key
    size_t pendingModifiers_ = 0;  // modifier characters since the last key, redundant ones too
    size_t pendingPos_ = 0;
};

}  // namespace

KeyParseStatus ParseSendKeys(std::u16string_view keys, std::vector<KeyAction>& out, size_t* errorPos) {
    out.clear();
    Parser parser(keys);
    size_t where = 0;
    const KeyParseStatus status = parser.Run(where);
    if (status != KeyParseStatus::Ok) {
        if (errorPos) *errorPos = where;
        return status;
    }
    out = std::move(parser.Actions());
    return KeyParseStatus::Ok;
}

bool IsExtendedKey(uint16_t virtualKey) {
    switch (virtualKey) {
    case vk::kCancel:
    case vk::kPrior:
    case vk::kNext:
    case vk::kEnd:
    case vk::kHome:
    case vk::kLeft:
    case vk::kUp:
    case vk::kRight:
    case vk::kDown:
    case vk::kSnapshot:
    case vk::kInsert:
    case vk::kDelete:
    case vk::kDivide:
    case vk::kNumLock:
    case vk::kRControl:
    case vk::kRMenu:
    case vk::kLWin:
    case vk::kRWin:
    case vk::kApps: return true;
    default: return false;
    }
}

}  // namespace ombrisk
