// The list-result rule: a zero-based array of string variants, or one CR LF joined string
// when the object's NoArrayReturn is true.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string_view>

namespace ombrisk {

// Writes into result (initialised by the caller, overwritten here): with noArrayReturn the
// text with every delimiter replaced by CR LF; otherwise the split list (a final delimiter
// adds no empty element) as VT_ARRAY | VT_VARIANT with lower bound 0. Throws on failure.
void MakeListResult(std::wstring_view text, std::wstring_view delimiter, bool noArrayReturn, VARIANT* result);

}  // namespace ombrisk
