#include "server/ListResult.h"

#include "platform/Raii.h"
#include "core/StringLists.h"
#include "platform/Text.h"

#include <climits>
#include <new>

namespace ombrisk {

namespace {

// A zero-based VT_VARIANT array holding one string per item. Throws std::bad_alloc.
UniqueSafeArray MakeStringArray(const std::vector<std::u16string_view>& items) {
    if (items.size() > LONG_MAX) throw std::bad_alloc();
    UniqueSafeArray array(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items.size())));
    if (!array) throw std::bad_alloc();
    VARIANT* slots = nullptr;
    if (FAILED(SafeArrayAccessData(array.get(), reinterpret_cast<void**>(&slots)))) throw std::bad_alloc();
    ScopeExit unaccess([&] { SafeArrayUnaccessData(array.get()); });
    // The vector's slots start as Empty; each takes ownership of its BSTR as soon as it exists,
    // so a failed allocation half-way leaves an array that SafeArrayDestroy frees completely.
    for (size_t i = 0; i < items.size(); ++i) {
        V_BSTR(&slots[i]) = AllocBstr(AsWide(items[i]));
        V_VT(&slots[i]) = VT_BSTR;
    }
    unaccess.reset();
    return array;
}

}  // namespace

UniqueVariant MakeListResult(std::wstring_view text, std::wstring_view delimiter, bool noArrayReturn) {
    UniqueVariant out;
    if (noArrayReturn) out.Set(AsWide(JoinListText(AsU16(text), AsU16(delimiter))));
    else out.SetArray(MakeStringArray(SplitListViews(AsU16(text), AsU16(delimiter), true)));
    return out;
}

}  // namespace ombrisk
