#include "core/PercentTooltip.h"

namespace ombrisk {

bool IsPercentTooltipText(std::string_view ansiText) {
    return ansiText.size() >= 5 && ansiText.size() <= 7 && ansiText.ends_with(" %");
}

}  // namespace ombrisk
