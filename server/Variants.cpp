#include "server/Variants.h"

#include "platform/VariantTypes.h"

#include "platform/Error.h"
#include "platform/Raii.h"

namespace ombrisk {

namespace {

UniqueVariant ChangeType(const VARIANT& in, VARTYPE vt, USHORT flags = 0) {
    const VARIANT& v = Deref(in);
    if (V_VT(&v) == VT_NULL) throw Error(ErrorKind::InvalidUseOfNull);
    if (V_VT(&v) & VT_ARRAY) throw Error(ErrorKind::TypeMismatch);
    UniqueVariant out;
    const HRESULT hr = VariantChangeTypeEx(out.get(), const_cast<VARIANT*>(&v), LOCALE_USER_DEFAULT, flags, vt);
    if (FAILED(hr)) throw Error::FromHresult(hr);
    return out;
}

}  // namespace

const VARIANT& Deref(const VARIANT& v) noexcept {
    const VARIANT* p = &v;
    for (int depth = 0; depth < 8 && V_VT(p) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(p); ++depth) p = V_VARIANTREF(p);
    return *p;
}

bool IsMissing(const VARIANT& in) noexcept {
    const VARIANT& v = Deref(in);
    return V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND;
}

bool IsNull(const VARIANT& in) noexcept { return V_VT(&Deref(in)) == VT_NULL; }

bool IsObject(const VARIANT& in) noexcept {
    const VARTYPE vt = V_VT(&Deref(in)) & ~VT_BYREF;
    return vt == VT_DISPATCH || vt == VT_UNKNOWN;
}

bool IsNumeric(const VARIANT& in) {
    const VARIANT& v = Deref(in);
    const VARTYPE vt = V_VT(&v) & ~VT_BYREF;
    if (IsNumberType(vt) || vt == VT_EMPTY || vt == VT_BOOL) return (V_VT(&v) & VT_ARRAY) == 0;
    switch (vt) {
    case VT_BSTR: {
        if (V_VT(&v) & VT_ARRAY) return false;
        // Compiled clients pass a string variable by reference (VT_BYREF | VT_BSTR): its text counts.
        const BSTR text = (V_VT(&v) & VT_BYREF) ? (V_BSTRREF(&v) ? *V_BSTRREF(&v) : nullptr) : V_BSTR(&v);
        double d = 0;
        return text && SUCCEEDED(VarR8FromStr(text, LOCALE_USER_DEFAULT, 0, &d));
    }
    default: return false;
    }
}

std::wstring ToString(const VARIANT& v) {
    if (V_VT(&Deref(v)) == VT_EMPTY) return {};
    UniqueVariant s = ChangeType(v, VT_BSTR, VARIANT_ALPHABOOL);
    BSTR b = V_BSTR(s.get());
    return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}

std::wstring OptionalText(const VARIANT& v) { return IsMissing(v) ? std::wstring() : ToString(v); }

int32_t ToLong(const VARIANT& v) { return V_I4(ChangeType(v, VT_I4).get()); }
double ToDouble(const VARIANT& v) { return V_R8(ChangeType(v, VT_R8).get()); }
double ToDate(const VARIANT& v) { return V_DATE(ChangeType(v, VT_DATE).get()); }

int CompareWithZero(const VARIANT& in) {
    const VARIANT& v = Deref(in);
    if (V_VT(&v) == VT_NULL) return 2;
    if (V_VT(&v) & VT_ARRAY) throw Error(ErrorKind::TypeMismatch);
    VARIANT zero;
    VariantInit(&zero);
    V_VT(&zero) = VT_I4;
    V_I4(&zero) = 0;
    // A string is compared as the number it holds, as a script's "value < 0" does.
    UniqueVariant number = ChangeType(v, VT_R8);
    const HRESULT r = VarCmp(number.get(), &zero, LOCALE_USER_DEFAULT, 0);
    switch (r) {
    case VARCMP_LT: return -1;
    case VARCMP_EQ: return 0;
    case VARCMP_GT: return 1;
    case VARCMP_NULL: return 2;
    default: throw Error::FromHresult(r);
    }
}

}  // namespace ombrisk
