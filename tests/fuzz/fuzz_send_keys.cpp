// ParseSendKeys on arbitrary key strings: bounded output, keys released in reverse order of
// pressing, characters only from the input, and no output at all on failure.
#include <vector>

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
    return 0;
}
