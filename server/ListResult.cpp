#include "server/ListResult.h"

#include "platform/Raii.h"
#include "core/StringLists.h"
#include "platform/Text.h"

#include <climits>
#include <new>

namespace ombrisk {

namespace {

// A zero-based VT_VARIANT array holding one string per item. Throws std::bad_alloc.
SAFEARRAY* MakeStringArray(const std::vector<std::u16string_view>& items) {
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
    unaccess.dismiss();
    SafeArrayUnaccessData(array.get());
    return array.release();
}

}  // namespace

void MakeListResult(std::wstring_view text, std::wstring_view delimiter, bool noArrayReturn, VARIANT* result) {
    UniqueVariant out;
    if (noArrayReturn) {
        const std::u16string joined = JoinListText(AsU16(text), AsU16(delimiter));
        V_BSTR(out.get()) = AllocBstr(AsWide(joined));
        V_VT(out.get()) = VT_BSTR;
    } else {
        V_ARRAY(out.get()) = MakeStringArray(SplitListViews(AsU16(text), AsU16(delimiter), true));
        V_VT(out.get()) = VT_ARRAY | VT_VARIANT;
    }
    VariantClear(result);
    out.release(result);
}

}  // namespace ombrisk
