#include "chores/FormatAny.h"

#include "chores/WineFormatAny.h"
#include "platform/Error.h"
#include "platform/Raii.h"
#include "platform/VariantTypes.h"
#include "platform/Text.h"
#include "platform/Wine.h"

#include <string>
#include <string_view>

namespace ombrisk {

namespace {

constexpr int kFirstDaySunday = 1;            // VARFORMAT_FIRST_DAY_SUNDAY
constexpr int kFirstWeekHasJanuaryFirst = 1;  // VARFORMAT_FIRST_WEEK_CONTAINS_JANUARY_FIRST

// A failure of the formatting service as the script's error: its number in the script's terms
// (type mismatch 13, overflow 6, ...) with the service's own source and description when it
// recorded them.
[[noreturn]] void ThrowServiceError(HRESULT hr) {
    std::wstring description, source;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        UniqueBstr d, s;
        if (SUCCEEDED(info->GetDescription(d.put())) && d) description.assign(d.get(), SysStringLen(d.get()));
        if (SUCCEEDED(info->GetSource(s.put())) && s) source.assign(s.get(), SysStringLen(s.get()));
    }
    throw Error::FromHresult(hr, std::move(description), std::move(source));
}

bool IsScalar(const VARIANT& value) {
    const VARTYPE vt = V_VT(&value);
    return IsNumberType(vt) || vt == VT_EMPTY || vt == VT_NULL || vt == VT_BOOL || vt == VT_BSTR || vt == VT_DATE;
}

}  // namespace

UniqueBstr FormatByService(const VARIANT& value, const std::wstring& format) {
    SetErrorInfo(0, nullptr);  // whatever is recorded afterwards comes from this call
    UniqueBstr out;
    const HRESULT hr =
        VarFormat(const_cast<VARIANT*>(&value), format.empty() ? nullptr : const_cast<wchar_t*>(format.c_str()),
                  kFirstDaySunday, kFirstWeekHasJanuaryFirst, 0, out.put());
    if (FAILED(hr)) ThrowServiceError(hr);
    if (!out) out.reset(AllocBstr({}));
    return out;
}

UniqueBstr FormatAny(const VARIANT& expression, std::wstring format) {
    UniqueVariant value;
    const HRESULT hr = VariantCopyInd(value.get(), const_cast<VARIANT*>(&expression));
    if (FAILED(hr)) ThrowServiceError(hr);
    // Under Wine the library's own code stands in where Wine's service is wrong.
    if (RunsUnderWine() && IsScalar(*value.get())) return WineFormatScalar(value, std::move(format));
    return FormatByService(*value.get(), format);
}

}  // namespace ombrisk
