#include "util/Format.h"

#include "server/Errors.h"
#include "server/Variants.h"
#include "util/FormatCore.h"
#include "util/Raii.h"
#include "util/Text.h"

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

// The platform's service; an empty format is the general format.
std::wstring Service(const VARIANT& value, const std::wstring& format) {
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
