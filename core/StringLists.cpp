#include "core/StringLists.h"

#include <new>
#include <stdexcept>

namespace ombrisk {
namespace {

// Calls onMatch(p) for every occurrence of `needle` (non-empty) in `hay`, case-sensitive,
// left to right and non-overlapping: the next search starts behind the previous match.
template <class OnMatch>
void ForEachMatch(std::u16string_view hay, std::u16string_view needle, OnMatch&& onMatch) {
    for (size_t p = hay.find(needle); p != std::u16string_view::npos; p = hay.find(needle, p + needle.size())) onMatch(p);
}

}  // namespace

std::vector<std::u16string_view> SplitListViews(std::u16string_view text, std::u16string_view delimiter,
                                                bool dropTrailingEmpty) {
    std::vector<std::u16string_view> items;
    if (delimiter.empty()) {
        items.emplace_back(text);
        return items;
    }
    size_t count = 0;
    ForEachMatch(text, delimiter, [&](size_t) { ++count; });
    items.reserve(count + 1);

    const size_t dlen = delimiter.size();
    size_t start = 0;
    bool dropLast = false;
    ForEachMatch(text, delimiter, [&](size_t p) {
        // Only a delimiter found after an element was taken can be dropped: a text whose sole
        // delimiter ends it still gets its empty last element.
        dropLast = dropTrailingEmpty && !items.empty() && p == text.size() - dlen;
        items.emplace_back(text.substr(start, p - start));
        start = p + dlen;
    });
    if (!dropLast) items.emplace_back(text.substr(start));
    return items;
}

std::u16string ReplaceText(std::u16string_view text, std::u16string_view find, std::u16string_view replacement) {
    if (find.empty()) return std::u16string(text);
    std::u16string out;
    try {
        out.reserve(text.size());
        size_t start = 0;
        ForEachMatch(text, find, [&](size_t p) {
            out.append(text.substr(start, p - start)).append(replacement);
            start = p + find.size();
        });
        out.append(text.substr(start));
    } catch (const std::length_error&) {
        throw std::bad_alloc();  // longer than a string can be: as out of memory
    }
    return out;
}

std::u16string JoinListText(std::u16string_view text, std::u16string_view delimiter) {
    return ReplaceText(text, delimiter, u"\r\n");
}

}  // namespace ombrisk
