#include "server/MemberArguments.h"

#include "platform/Text.h"
#include "server/ListResult.h"
#include "server/Variants.h"

namespace ombrisk {

UniqueVariant ListOrEmpty(const std::optional<std::wstring>& names, std::wstring_view delimiter, bool noArrayReturn) {
    return names ? MakeListResult(*names, delimiter, noArrayReturn) : UniqueVariant();
}

Pause ReadPause(const VARIANT& value) {
    try {
        return Pause::Milliseconds(ToLong(value));
    } catch (const Error& e) {
        return Pause::Unreadable(e);
    }
}

std::wstring ListModeName(const VARIANT& in) {
    if (IsMissing(in)) return {};
    const VARIANT& v = Deref(in);
    const VARTYPE vt = V_VT(&v) & ~VT_BYREF;
    if (vt != VT_EMPTY && vt != VT_BOOL && IsNumeric(v)) {
        UniqueVariant number;
        number.SetR8(ToDouble(v));
        return ToString(*number.get());
    }
    return TrimSpaces(ToString(v));
}

std::wstring FormatText(const VARIANT& format) {
    const VARIANT& v = Deref(format);
    if (V_VT(&v) == VT_BSTR) return std::wstring(BstrView(V_BSTR(&v)));
    return IsMissing(format) ? std::wstring() : ToString(format);
}

}  // namespace ombrisk
