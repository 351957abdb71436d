#include "chores/WineFormatAny.h"

#include "chores/FormatAny.h"
#include "core/WineFormat.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/VariantTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwchar>

namespace ombrisk {

namespace {

char16_t LowerUnit(char16_t c) {
    return static_cast<char16_t>(
        reinterpret_cast<ULONG_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}
char16_t UpperUnit(char16_t c) {
    return static_cast<char16_t>(
        reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

// Wine's formatting service builds its text in a stack buffer of 256 characters and writes past
// it when the text is longer (1E+300 under "0.00" ends the process); it also misreads a format of
// 256 characters or more. Under Wine, calls whose text could exceed the buffer are refused before
// it (or, for string formats, formatted here); Windows has no such limit.

// Digits of the integer part of a number or of a text that reads as one; 0 for anything else.
int IntegerDigits(const VARIANT& value) {
    double plain = 0;
    switch (V_VT(&value)) {
    // The common numbers directly: their conversion to a double is exact or the one the
    // conversion service makes.
    case VT_R8: plain = V_R8(&value); break;
    case VT_R4: plain = V_R4(&value); break;
    case VT_I2: plain = V_I2(&value); break;
    case VT_I4: plain = V_I4(&value); break;
    case VT_INT: plain = V_INT(&value); break;
    case VT_UI1: plain = V_UI1(&value); break;
    default: {
        if (!IsNumberType(V_VT(&value)) && V_VT(&value) != VT_BSTR && V_VT(&value) != VT_DATE) return 0;
        UniqueVariant number;
        const HRESULT hr = VariantChangeTypeEx(number.get(), const_cast<VARIANT*>(&value), LOCALE_USER_DEFAULT, 0, VT_R8);
        if (hr == DISP_E_OVERFLOW) return 400;  // beyond a double: more digits than any buffer here holds
        if (FAILED(hr)) return 0;
        plain = V_R8(number.get());
        break;
    }
    }
    const double magnitude = std::fabs(plain);
    if (!std::isfinite(magnitude)) return 400;
    return magnitude < 10 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
}

// The user's separators are read into a buffer of this many characters: a longer one is not
// read at all and counts as 1.
constexpr int kSeparatorBuffer = 8;
constexpr size_t kWidestSeparator = kSeparatorBuffer - 1;

// The longer of the user's decimal and thousands separators.
size_t SeparatorWidth() {
    size_t width = 1;
    for (LCTYPE type : {LOCALE_SDECIMAL, LOCALE_STHOUSAND}) {
        wchar_t text[kSeparatorBuffer] = {};
        const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, kSeparatorBuffer);
        if (n > 1) width = std::max(width, static_cast<size_t>(n - 1));
    }
    return width;
}

// A script tends to use one format string many times over: the last format's kind and length
// bound are kept per thread (the analysis depends on the text alone). Trivially destructible on
// purpose, like all per-thread state here; longer formats are analysed at every call.
class CachedFormat {
public:
    bool Matches(std::wstring_view format) const noexcept {
        return length_ == format.size() && std::wmemcmp(text_, format.data(), format.size()) == 0;
    }
    void Store(std::wstring_view format) noexcept {
        length_ = format.size() <= kCapacity ? format.size() : kNone;
        if (length_ != kNone) std::wmemcpy(text_, format.data(), format.size());
    }

private:
    static constexpr size_t kCapacity = 64;
    static constexpr size_t kNone = SIZE_MAX;
    size_t length_ = kNone;
    wchar_t text_[kCapacity] = {};
};

struct FormatAnalysisCache {
    CachedFormat kindFormat;
    FormatKind kind = FormatKind::General;
    CachedFormat boundFormat;
    int boundDigits = -1;
    size_t widestBound = 0;  // the length bound for boundDigits and the widest separator
};
thread_local FormatAnalysisCache t_formatCache;

FormatKind Kind(const std::wstring& format) {
    FormatAnalysisCache& cache = t_formatCache;
    if (!cache.kindFormat.Matches(format)) {
        cache.kind = ClassifyFormat(AsU16(format));
        cache.kindFormat.Store(format);
    }
    return cache.kind;
}

// True when the service's text for value under the (non-empty) format could exceed its buffer.
// The bound grows with the separators' width: when it holds for the widest separator the user's
// settings are not needed.
bool MayExceedServiceBuffer(const VARIANT& value, const std::wstring& format) {
    const int digits = IntegerDigits(value);
    FormatAnalysisCache& cache = t_formatCache;
    if (cache.boundDigits != digits || !cache.boundFormat.Matches(format)) {
        cache.widestBound = FormattedLengthBound(AsU16(format), digits, kWidestSeparator);
        cache.boundFormat.Store(format);
        cache.boundDigits = digits;
    }
    if (cache.widestBound <= kWineServiceTextLimit) return false;
    return FormattedLengthBound(AsU16(format), digits, SeparatorWidth()) > kWineServiceTextLimit;
}

UniqueBstr BooleanText(const VARIANT& value) { return UniqueBstr(AllocBstr(V_BOOL(&value) ? L"True" : L"False")); }

// The general format: the text a string format works on.
UniqueBstr General(const VARIANT& value) {
    if (V_VT(&value) == VT_BOOL) return BooleanText(value);
    return FormatByService(value, {});
}

ValueKind KindOf(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_EMPTY: return ValueKind::Empty;
    case VT_NULL: return ValueKind::Null;
    case VT_BOOL: return ValueKind::Boolean;
    case VT_BSTR: return ValueKind::String;
    case VT_DATE: return ValueKind::Date;
    default: return ValueKind::Number;  // only scalars come here
    }
}

}  // namespace

UniqueBstr WineFormatScalar(UniqueVariant& holder, std::wstring format) {
    VARIANT& value = *holder.get();
    const FormatKind kind = Kind(format);
    FormatValue facts;
    facts.kind = KindOf(value);
    UniqueBstr general;
    if (kind == FormatKind::String && facts.kind != ValueKind::Null) general = General(value);
    const BSTR text = general ? general.get() : facts.kind == ValueKind::String ? V_BSTR(&value) : nullptr;
    if (text) facts.text = AsU16(std::wstring_view(text, SysStringLen(text)));
    const bool bounded = kind != FormatKind::General && kind != FormatKind::String && kind != FormatKind::NamedDate;
    const bool exceeded = bounded && MayExceedServiceBuffer(value, format);

    const FormatRoute route = ChooseFormatRoute(kind, AsU16(format), facts, true, exceeded);
    if (kind == FormatKind::Number && route != FormatRoute::Refuse) {
        const std::u16string exponent = ExponentWithoutHashes(AsU16(format));
        if (!exponent.empty()) format = ToWide(exponent);
    }
    switch (route) {
    case FormatRoute::Service: break;
    case FormatRoute::BooleanText: return BooleanText(value);
    case FormatRoute::ReplacementFormat: format = ToWide(NamedFormatReplacement(AsU16(format))); break;
    case FormatRoute::ServiceWithZero: holder.SetI2(0); break;
    case FormatRoute::ServiceWithSerial: {
        holder.SetR8(V_DATE(&value));
        break;
    }
    case FormatRoute::DateTokens: {
        UniqueVariant date;
        // The service gets the date the tokens were written for: a date string under a format of
        // only ww would otherwise come back as it is.
        if (SUCCEEDED(VariantChangeTypeEx(date.get(), &value, LOCALE_USER_DEFAULT, 0, VT_DATE))) {
            format = ToWide(RewriteDateFormat(AsU16(format), V_DATE(date.get())));
            holder = std::move(date);
        }
        break;
    }
    case FormatRoute::Text:
        return UniqueBstr(
            AllocBstr(ToWide(FormatText(facts.text, facts.text.empty(), AsU16(format), &LowerUnit, &UpperUnit))));
    case FormatRoute::Refuse:
        throw Error(ErrorKind::Overflow,
                    L"Overflow: the formatted text could be longer than 255 characters, "
                    L"more than Wine's formatting service can take");
    }
    return FormatByService(value, format);
}

}  // namespace ombrisk
