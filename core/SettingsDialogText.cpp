#include "core/SettingsDialogText.h"

#include "core/AsciiText.h"

#include <cstddef>

namespace ombrisk {

std::optional<std::pair<std::u16string, std::u16string>> ParseSettingsDialogText(std::u16string_view dialogText) {
    constexpr std::u16string_view kLabel = u"INI-Files:";
    const std::u16string_view text = dialogText.substr(0, dialogText.find(u'\0'));

    const size_t at = FindNoCase(text, kLabel);
    if (at == std::u16string_view::npos) return std::nullopt;
    // The host puts one separator (a blank or a line break) between the label and the first path.
    const size_t tailStart = at + kLabel.size() + 1;
    if (tailStart >= text.size()) return std::nullopt;
    const std::u16string_view tail = text.substr(tailStart);

    const size_t cr = tail.find(u'\r');
    if (cr == std::u16string_view::npos) return std::nullopt;
    return std::make_pair(std::u16string(tail.substr(0, cr)), std::u16string(tail.substr(cr + 1)));
}

}  // namespace ombrisk
