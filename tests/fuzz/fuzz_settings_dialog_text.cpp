// ParseSettingsDialogText on arbitrary dialog texts.
#include "core/SettingsDialogText.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ombrisk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = fuzz::Text(data, size);
    const auto r = ParseSettingsDialogText(text);
    if (!r) return 0;
    const auto& [mainIni, ftpIni] = *r;
    FUZZ_CHECK(mainIni.find(u'\r') == std::u16string::npos);
    // main CR ftp is the end of the text before its first U+0000, after label and separator.
    const std::u16string_view visible = std::u16string_view(text).substr(0, text.find(u'\0'));
    const std::u16string tail = mainIni + u'\r' + ftpIni;
    FUZZ_CHECK(visible.ends_with(tail) && visible.size() >= tail.size() + 11);
    std::u16string label(visible.substr(visible.size() - tail.size() - 11, 10));
    for (char16_t& c : label)
        if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
    FUZZ_CHECK(label == u"INI-FILES:");
    return 0;
}
