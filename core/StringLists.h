// String routines of the lists: list splitting and substring replacement on UTF-16 text.
// Portable and pure; texts may hold NUL. The shell builds SAFEARRAYs and BSTRs from the results.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// Cuts `text` at every (case-sensitive) `delimiter`; always at least one element. With
// `dropTrailingEmpty`, a second or later delimiter that ends the text yields no empty element
// after it (a sole trailing delimiter still does). An empty delimiter gives { text }.
std::vector<std::u16string> SplitList(std::u16string_view text, std::u16string_view delimiter, bool dropTrailingEmpty);

// The same elements as views into `text` (which must outlive them), without copying any.
std::vector<std::u16string_view> SplitListViews(std::u16string_view text, std::u16string_view delimiter,
                                                bool dropTrailingEmpty);

enum class CompareMode { Binary = 0, Text = 1 };

// Replaces every non-overlapping `find`, left to right; inserted text is never searched again.
// An empty `find` returns `text` unchanged. Text mode compares fold(a) == fold(b) per code unit,
// `fold` being the platform's case folding (null: ASCII only). One allocation for the result;
// throws std::bad_alloc when it cannot be had.
std::u16string ReplaceText(std::u16string_view text, std::u16string_view find, std::u16string_view replacement,
                           CompareMode mode, char16_t (*fold)(char16_t) = nullptr);

// The one-string form of a list: `text` with every `delimiter` (binary) replaced by CR LF.
std::u16string JoinListText(std::u16string_view text, std::u16string_view delimiter);

}  // namespace ombrisk
