#include "core/PercentTooltip.h"

#include <cstddef>

namespace ombrisk {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }

}  // namespace

bool IsPercentTooltipText(std::string_view ansiText) {
    return ansiText.size() >= 5 && ansiText.size() <= 7 && ansiText.ends_with(" %");
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    for (size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && AsciiLower(haystack[i + k]) == AsciiLower(needle[k])) ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

}  // namespace ombrisk
