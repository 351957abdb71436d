// The list-result rule: a zero-based array of string variants, or one CR LF joined string
// when the object's NoArrayReturn is true.
#pragma once

#include "platform/Raii.h"

#include <string_view>

namespace ombrisk {

// With noArrayReturn the text with every delimiter replaced by CR LF; otherwise the split list
// (a final delimiter adds no empty element) as VT_ARRAY | VT_VARIANT with lower bound 0.
// Throws std::bad_alloc.
UniqueVariant MakeListResult(std::wstring_view text, std::wstring_view delimiter, bool noArrayReturn);

}  // namespace ombrisk
