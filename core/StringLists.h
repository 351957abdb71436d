// String routines of the lists: list splitting and substring replacement on UTF-16 text.
// Portable and pure; texts may hold NUL. The shell builds SAFEARRAYs and BSTRs from the results.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// Cuts `text` at every (case-sensitive) `delimiter` into views of it (which must outlive them);
// always at least one element. With `dropTrailingEmpty`, a second or later delimiter that ends
// the text yields no empty element after it (a sole trailing delimiter still does). An empty
// delimiter gives { text }.
std::vector<std::u16string_view> SplitListViews(std::u16string_view text, std::u16string_view delimiter,
                                                bool dropTrailingEmpty);

// Replaces every non-overlapping `find` (case-sensitive), left to right; inserted text is never
// searched again. An empty `find` returns `text` unchanged. Throws std::bad_alloc when the
// result cannot be had.
std::u16string ReplaceText(std::u16string_view text, std::u16string_view find, std::u16string_view replacement);

// The one-string form of a list: `text` with every `delimiter` (binary) replaced by CR LF.
std::u16string JoinListText(std::u16string_view text, std::u16string_view delimiter);

}  // namespace ombrisk
