// ParseSendKeys on arbitrary key strings: bounded output, keys released in reverse order of
// pressing, characters only from the input, and no output at all on failure. The events
// planned from them, stopped anywhere and undone there, leave no key down.
#include <algorithm>
#include <vector>

#include "core/KeyEvents.h"
#include "core/KeyParser.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string keys = fuzz::Text(data, size);
    std::vector<KeyAction> out{{KeyAction::Character, 0, u'x'}};
    size_t errorPos = size_t(-1);
    const KeyParseStatus status = ParseSendKeys(keys, out, &errorPos);

    if (status != KeyParseStatus::Ok) {
        FUZZ_CHECK(out.empty());
        FUZZ_CHECK(errorPos < keys.size());
        return 0;
    }
    FUZZ_CHECK(errorPos == size_t(-1));
    FUZZ_CHECK(out.size() <= kMaxKeyActions);
    std::vector<uint16_t> down;
    for (const KeyAction& a : out) {
        switch (a.kind) {
        case KeyAction::Character: FUZZ_CHECK(a.vk == 0 && keys.find(a.ch) != std::u16string::npos); break;
        case KeyAction::VirtualKeyDown:
            FUZZ_CHECK(a.ch == 0 && a.vk != 0);
            down.push_back(a.vk);
            break;
        case KeyAction::VirtualKeyUp:
            FUZZ_CHECK(a.ch == 0 && !down.empty() && down.back() == a.vk);
            down.pop_back();
            break;
        default: FUZZ_CHECK(false);
        }
    }
    FUZZ_CHECK(down.empty());

    if (out.size() > 4096) return 0;  // planning is linear; long inputs add nothing here
    const auto layout = [](char16_t ch) {
        // Letters as keys that Caps Lock changes, capitals with Shift, digits with Shift.
        if (ch >= u'a' && ch <= u'z') return LayoutKey{static_cast<int16_t>(ch - 0x20), false, true};
        if (ch >= u'A' && ch <= u'Z') return LayoutKey{static_cast<int16_t>(0x100 | ch), false, true};
        if (ch >= u'0' && ch <= u'9') return LayoutKey{static_cast<int16_t>(0x100 | ch), false, false};
        return LayoutKey{};
    };
    const std::vector<KeyEvent> events = PlanKeyEvents(out, {vk::kLMenu}, size % 2 == 1, layout);
    const size_t cut = size == 0 ? 0 : data[0] * events.size() / 255;
    std::vector<KeyEvent> played(events.begin(), events.begin() + static_cast<ptrdiff_t>(cut));
    for (const KeyEvent& e : UndoAfterCut(events, cut)) played.push_back(e);
    std::vector<uint16_t> pressed;
    int fixes = 0;
    for (const KeyEvent& e : played) {
        if (e.vk == 0) continue;
        const auto at = std::find(pressed.begin(), pressed.end(), e.vk);
        if (e.up && at != pressed.end()) pressed.erase(at);
        if (!e.up && at == pressed.end()) {
            pressed.push_back(e.vk);
            fixes += e.capsFix ? 1 : 0;
        }
    }
    FUZZ_CHECK(pressed.empty());
    FUZZ_CHECK(fixes % 2 == 0);
    return 0;
}
