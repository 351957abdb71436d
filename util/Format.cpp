#include "util/Format.h"

#include "server/Errors.h"
#include "server/Variants.h"
#include "util/FormatCore.h"
#include "util/Raii.h"
#include "util/Text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ombrisk {

namespace {

constexpr int kFirstDaySunday = 1;           // VARFORMAT_FIRST_DAY_SUNDAY
constexpr int kFirstWeekHasJanuaryFirst = 1;  // VARFORMAT_FIRST_WEEK_CONTAINS_JANUARY_FIRST

char16_t LowerUnit(char16_t c) {
    return static_cast<char16_t>(reinterpret_cast<ULONG_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}
char16_t UpperUnit(char16_t c) {
    return static_cast<char16_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

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
    try {
        ThrowConversionError(hr);
    } catch (ScriptError& e) {
        if (!description.empty()) e.description = description;
        if (!source.empty()) e.source = source;
        throw;
    }
}

// Wine's formatting service builds its text in a stack buffer of 256 characters and writes past
// it when the text is longer (1E+300 under "0.00" ends the process); it also misreads a format of
// 256 characters or more. Calls whose text could exceed the buffer are refused before it.
constexpr size_t kServiceTextLimit = 255;

// Digits of the integer part of a number or of a text that reads as one; 0 for anything else.
int IntegerDigits(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_BSTR: case VT_DATE: case VT_CY: case VT_DECIMAL: case VT_R4: case VT_R8: case VT_I1: case VT_UI1:
    case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
        break;
    default:
        return 0;
    }
    UniqueVariant number;
    const HRESULT hr = VariantChangeTypeEx(number.get(), const_cast<VARIANT*>(&value), LOCALE_USER_DEFAULT, 0, VT_R8);
    if (hr == DISP_E_OVERFLOW) return 400;  // beyond a double: more digits than any buffer here holds
    if (FAILED(hr)) return 0;
    const double magnitude = std::fabs(V_R8(number.get()));
    if (!std::isfinite(magnitude)) return 400;
    return magnitude < 10 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
}

// The longer of the user's decimal and thousands separators.
size_t SeparatorWidth() {
    size_t width = 1;
    for (LCTYPE type : {LOCALE_SDECIMAL, LOCALE_STHOUSAND}) {
        wchar_t text[8] = {};
        const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 8);
        if (n > 1) width = std::max(width, static_cast<size_t>(n - 1));
    }
    return width;
}

// The platform's service; an empty format is the general format.
std::wstring Service(const VARIANT& value, const std::wstring& format) {
    if (!format.empty() && FormattedLengthBound(AsU16(format), IntegerDigits(value), SeparatorWidth()) > kServiceTextLimit)
        throw ScriptError(VbHresult(static_cast<int>(VbError::Overflow)),
                          L"Overflow: the formatted text could be longer than 255 characters");
    SetErrorInfo(0, nullptr);  // whatever is recorded afterwards comes from this call
    UniqueBstr out;
    const HRESULT hr = VarFormat(const_cast<VARIANT*>(&value), format.empty() ? nullptr : const_cast<wchar_t*>(format.c_str()),
                                 kFirstDaySunday, kFirstWeekHasJanuaryFirst, 0, out.put());
    if (FAILED(hr)) ThrowServiceError(hr);
    return out ? std::wstring(out.get(), SysStringLen(out.get())) : std::wstring();
}

// The general format. The service writes a Boolean as a number; the language writes True or False.
std::wstring General(const VARIANT& value) {
    if (V_VT(&value) == VT_BOOL) return V_BOOL(&value) ? L"True" : L"False";
    return Service(value, {});
}

bool IsScalar(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_EMPTY: case VT_NULL: case VT_BOOL: case VT_BSTR: case VT_DATE: case VT_CY: case VT_DECIMAL:
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_I8: case VT_UI8:
    case VT_INT: case VT_UINT: case VT_R4: case VT_R8:
        return true;
    default:
        return false;
    }
}

// A string that reads as a date is formatted as that date under a date format; the service
// would give the string back unchanged.
void DateFromString(VARIANT& value) {
    if (V_VT(&value) != VT_BSTR) return;
    UniqueVariant date;
    if (SUCCEEDED(VariantChangeTypeEx(date.get(), &value, LOCALE_USER_DEFAULT, 0, VT_DATE))) {
        VariantClear(&value);
        date.release(&value);
    }
}

// Empty is the number 0 under a number format. Wine's service formats an Empty value there as if
// it had no digits at all (".00", even "-.00", for "0.00") and refuses it under a literal format.
void EmptyAsZero(VARIANT& value) {
    if (V_VT(&value) != VT_EMPTY) return;
    V_VT(&value) = VT_I2;
    V_I2(&value) = 0;
}

std::wstring FormatScalar(VARIANT& value, std::wstring format) {
    switch (ClassifyFormat(AsU16(format))) {
    case FormatKind::General:
        return General(value);
    case FormatKind::NamedDate: {
        const std::u16string_view replacement = NamedFormatReplacement(AsU16(format));
        if (!replacement.empty()) format = ToWide(replacement);
        DateFromString(value);
        return Service(value, format);
    }
    case FormatKind::Number:
    case FormatKind::NamedNumber:
        EmptyAsZero(value);
        // A date under a number format is its serial number; the service would write a date.
        if (V_VT(&value) == VT_DATE) {
            const double serial = V_DATE(&value);
            V_VT(&value) = VT_R8;
            V_R8(&value) = serial;
        }
        return Service(value, format);
    case FormatKind::DateTime:
        DateFromString(value);
        if (HasComputedDateTokens(AsU16(format))) {
            UniqueVariant date;
            if (SUCCEEDED(VariantChangeTypeEx(date.get(), &value, LOCALE_USER_DEFAULT, 0, VT_DATE)))
                format = ToWide(RewriteDateFormat(AsU16(format), V_DATE(date.get())));
        }
        return Service(value, format);
    case FormatKind::String: {
        const bool isNull = V_VT(&value) == VT_NULL;
        const std::wstring text = isNull ? std::wstring() : General(value);
        return ToWide(FormatText(AsU16(text), text.empty(), AsU16(format), &LowerUnit, &UpperUnit));
    }
    case FormatKind::Literal:
        EmptyAsZero(value);
        break;
    }
    return Service(value, format);
}

}  // namespace

void FormatAnyValue(const VARIANT& expression, const VARIANT& format, VARIANT* result) {
    UniqueVariant value;
    const HRESULT hr = VariantCopyInd(value.get(), const_cast<VARIANT*>(&Deref(expression)));
    if (FAILED(hr)) ThrowServiceError(hr);
    const std::wstring formatText = IsMissing(format) ? std::wstring() : ToString(format);

    const std::wstring text = IsScalar(*value.get()) ? FormatScalar(*value.get(), formatText) : Service(*value.get(), formatText);
    UniqueVariant out;
    V_BSTR(out.get()) = AllocBstr(text);
    V_VT(out.get()) = VT_BSTR;
    VariantClear(result);
    out.release(result);
}

}  // namespace ombrisk
