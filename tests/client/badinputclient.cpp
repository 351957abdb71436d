// Every member of Ombrisk.Helper called through IDispatch::Invoke with each kind of wrong
// argument in each parameter (by value, as JScript passes it, and by reference, as VBScript
// passes a variable), with a required argument left off and with one argument too many, first
// with the stand-in host running and then without it. The members, their parameters and their
// kinds come from the type information, so a new member is covered without a new line here;
// the answer each call must give follows from the parameter's type and the short table of the
// members' documented exceptions below. Then the faults such calls once found, kept as regressions.
//   badinputclient <outFile> <test folder> <host configuration> [noflood]
// The host runs when the client starts, configured not to refuse what the calls make of it.
#include "tests/client/ClientReport.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace client_report;

// ---- values and calls -----------------------------------------------------------------------------

// A variant of that type with a zero value (False, 0, Empty).
VARIANT Typed(VARTYPE vt) {
    VARIANT v{};
    V_VT(&v) = vt;
    return v;
}

VARIANT Text(const std::wstring& s) {
    VARIANT v = Typed(VT_BSTR);
    V_BSTR(&v) = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return v;
}

VARIANT Number(double d, VARTYPE vt = VT_R8) {
    VARIANT v = Typed(vt);
    if (vt == VT_I4) V_I4(&v) = static_cast<LONG>(d);
    else V_R8(&v) = d;  // VT_DATE is a double too
    return v;
}

struct Outcome {
    HRESULT hr = E_FAIL;
    int error = 0;  // the script error number of a failed call
    bool described = false;
    VARTYPE vt = VT_EMPTY;
    std::wstring text;  // a text result, or True / False
};

// Calls a member with args in the script's order (and clears them), as VBScript calls it when
// it uses the result.
Outcome Call(IDispatch* helper, DISPID id, bool put, std::vector<VARIANT> args) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    const bool withName = put && !args.empty();
    DISPPARAMS p{reversed.data(), withName ? &named : nullptr, static_cast<UINT>(args.size()), withName ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep{};
    Outcome o;
    o.hr = helper->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                          put ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD | DISPATCH_PROPERTYGET, &p, &result, &excep, nullptr);
    if (o.hr == DISP_E_EXCEPTION && static_cast<ULONG>(excep.scode) >> 16 == 0x800A) o.error = excep.scode & 0xFFFF;
    o.described = excep.bstrDescription && SysStringLen(excep.bstrDescription) > 0;
    o.vt = V_VT(&result);
    if (o.vt == VT_BSTR) o.text.assign(V_BSTR(&result), SysStringLen(V_BSTR(&result)));
    if (o.vt == VT_BOOL) o.text = V_BOOL(&result) ? L"True" : L"False";
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    VariantClear(&result);
    for (VARIANT& v : args) VariantClear(&v);
    return o;
}

Outcome Call(IDispatch* helper, const wchar_t* name, std::vector<VARIANT> args = {}, bool put = false) {
    return Call(helper, IdOf(helper, name), put, std::move(args));
}

std::string Narrow(const std::wstring& s) {
    std::string r;
    for (wchar_t c : s) r.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return r;
}

// ---- the kinds of wrong argument ---------------------------------------------------------------

enum Kind { kNull, kEmpty, kArray, kObject, kValueObject, kText, kMinusOne, kBig, kHuge, kMissing, kKinds };
const char* const kKindNames[kKinds] = {
    "Null", "Empty", "an array", "an object without a value", "an object with a value", "a 1M text",
    "-1",   "2^31",  "1e300",    "the missing marker"};
using Kinds = unsigned;
constexpr Kinds kAll = (1u << kKinds) - 1;
constexpr Kinds Bits(std::initializer_list<Kind> kinds) {
    Kinds k = 0;
    for (Kind x : kinds) k |= 1u << x;
    return k;
}

// An automation object with a text as its value (as a JScript array has), or without any (as a
// dictionary, whose default member wants a key). Lives as long as the process.
class ValueObject final : public IDispatch {
public:
    explicit ValueObject(const wchar_t* value) : value_(value) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = riid == IID_IUnknown || riid == IID_IDispatch ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_VALUE || !value_) return DISP_E_MEMBERNOTFOUND;
        if (p && p->cArgs) return DISP_E_BADPARAMCOUNT;
        if (result) *result = Text(value_);
        return S_OK;
    }

private:
    const wchar_t* value_;
};

ValueObject g_noValue(nullptr), g_value(L"1,two,3");
// A million characters that read as no number, no Boolean and no key sequence (braces that never
// close, so a keystroke member refuses them at once; a long valid key string is the flood below).
const std::wstring g_text(1u << 20, L'{');

VARIANT Value(Kind kind) {
    switch (kind) {
    case kNull: return Typed(VT_NULL);
    case kEmpty: return Typed(VT_EMPTY);
    case kArray: {
        SAFEARRAY* a = SafeArrayCreateVector(VT_VARIANT, 0, 3);
        VARIANT items[3] = {Number(1, VT_I4), Text(L"two"), Number(3, VT_I4)};
        for (LONG i = 0; i < 3; ++i) {
            SafeArrayPutElement(a, &i, &items[i]);  // copies
            VariantClear(&items[i]);
        }
        VARIANT v = Typed(VT_ARRAY | VT_VARIANT);
        V_ARRAY(&v) = a;
        return v;
    }
    case kObject:
    case kValueObject: {
        VARIANT v = Typed(VT_DISPATCH);
        V_DISPATCH(&v) = kind == kObject ? &g_noValue : &g_value;
        return v;
    }
    case kText: return Text(g_text);
    case kMinusOne: return Number(-1, VT_I4);
    case kBig: return Number(2147483648.0);
    case kHuge: return Number(1e300);
    default: {
        VARIANT v = Typed(VT_ERROR);
        V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
        return v;
    }
    }
}

// ---- the members, as the type information describes them ------------------------------------------

struct Param {
    std::wstring name;
    VARTYPE vt;  // VT_BSTR, VT_BOOL, VT_I4 or VT_VARIANT (also for a Variant passed by reference)
    bool optional;
};

struct Member {
    std::wstring name;
    DISPID id;
    INVOKEKIND kind;
    std::vector<Param> params;
    VARTYPE result;  // VT_EMPTY when it gives nothing
};

std::vector<Member> ReadMembers(IDispatch* helper) {
    std::vector<Member> members;
    ITypeInfo* dispatchInfo = nullptr;
    ITypeInfo* info = nullptr;
    HREFTYPE ref = 0;
    if (SUCCEEDED(helper->GetTypeInfo(0, 0, &dispatchInfo)) && SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(-1, &ref)))
        dispatchInfo->GetRefTypeInfo(ref, &info);  // the interface's own view, with the [out, retval] parameters
    TYPEATTR* attr = nullptr;
    if (info && SUCCEEDED(info->GetTypeAttr(&attr))) {
        for (UINT f = 0; f < attr->cFuncs; ++f) {
            FUNCDESC* fd = nullptr;
            if (FAILED(info->GetFuncDesc(f, &fd))) continue;
            BSTR names[16] = {};
            UINT got = 0;
            info->GetNames(fd->memid, names, 16, &got);
            Member m{names[0] ? names[0] : L"", fd->memid, fd->invkind, {}, VT_EMPTY};
            for (SHORT p = 0; p < fd->cParams; ++p) {
                const ELEMDESC& e = fd->lprgelemdescParam[p];
                const TYPEDESC& t = e.tdesc.vt == VT_PTR ? *e.tdesc.lptdesc : e.tdesc;
                if (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
                    m.result = t.vt;
                    continue;
                }
                // A property put's value has no name of its own: it is named for the property.
                const UINT at = static_cast<UINT>(p) + 1;
                m.params.push_back(
                    {at < got && names[at] ? names[at] : m.name, t.vt, (e.paramdesc.wParamFlags & PARAMFLAG_FOPT) != 0});
            }
            for (BSTR& n : names) SysFreeString(n);
            members.push_back(std::move(m));
            info->ReleaseFuncDesc(fd);
        }
        info->ReleaseTypeAttr(attr);
    }
    if (info) info->Release();
    if (dispatchInfo) dispatchInfo->Release();
    return members;
}

// ---- what each call must give ----------------------------------------------------------------------

// What automation's coercion makes of a kind for a parameter of a fixed type: 0 when it converts,
// else the script error number (13 type mismatch, 6 overflow). A Variant parameter converts its
// value itself, and Null has no text or number there (94, invalid use of Null).
int Coerced(Kind kind, VARTYPE vt) {
    switch (kind) {
    case kNull: return vt == VT_VARIANT ? 94 : 13;
    case kArray:
    case kObject:
    case kMissing: return 13;
    case kValueObject:
    case kText: return vt == VT_BSTR || vt == VT_VARIANT ? 0 : 13;
    case kBig:
    case kHuge: return vt == VT_I4 ? 6 : 0;
    default: return 0;
    }
}

// The members' documented exceptions to that: for these kinds in this parameter (-1: any), with
// or without the host, this answer instead.
struct Exception {
    const wchar_t* member;
    INVOKEKIND invoke;
    int param;
    Kinds kinds;
    int answer;
    bool withHost, withoutHost;
};
const Exception kExceptions[] = {
    // The host is looked up first: without it nothing is converted.
    {L"SendCommand", INVOKE_FUNC, 0, kAll, 0, false, true},
    {L"GetInfo", INVOKE_FUNC, 0, kAll, 0, false, true},
    {L"GetFilter", INVOKE_PROPERTYGET, 0, kAll, 0, false, true},
    // A command that is no number is a name, looked up in the command table, which is empty.
    {L"SendCommand", INVOKE_FUNC, 0, Bits({kNull, kArray, kObject, kValueObject, kText, kMissing}), 9, true, false},
    {L"SendCommand", INVOKE_FUNC, 0, Bits({kBig, kHuge}), 6, true, false},
    // Values that must read as numbers; Pause keeps a Null as it is.
    {L"Separator", INVOKE_PROPERTYPUT, 0, Bits({kText, kValueObject}), 13, true, true},
    {L"Pause", INVOKE_PROPERTYPUT, 0, Bits({kText, kValueObject}), 13, true, true},
    {L"Pause", INVOKE_PROPERTYPUT, 0, Bits({kNull}), 0, true, true},
    // Null formats as the empty text; a text that cannot fit the formatting service is refused.
    {L"FormatAny", INVOKE_FUNC, 0, Bits({kNull}), 0, true, true},
    {L"FormatAny", INVOKE_FUNC, 0, Bits({kHuge}), 6, true, true},
    {L"FormatAny", INVOKE_FUNC, 1, Bits({kText}), 6, true, true},
    // Every step of SetFileDateAtr folds its failure into the result.
    {L"SetFileDateAtr", INVOKE_FUNC, -1, kAll, 0, true, true},
};

int Expected(const Member& m, size_t param, Kind kind, bool withHost) {
    for (const Exception& e : kExceptions)
        if (m.name == e.member && m.kind == e.invoke && (e.param < 0 || static_cast<size_t>(e.param) == param) &&
            (e.kinds & (1u << kind)) && (withHost ? e.withHost : e.withoutHost))
            return e.answer;
    const Param& p = m.params[param];
    if (kind == kMissing && p.optional) return 0;  // the marker of an argument left out
    return Coerced(kind, p.vt);
}

// ---- the matrix ---------------------------------------------------------------------------------

class Matrix {
public:
    Matrix(IDispatch* helper, const std::wstring& folder)
        : helper_(helper), ini_(folder + L"\\bad input.ini"), dates_(folder + L"\\dates.txt") {}

    // Every member with every case; one check per member.
    void Run(const std::vector<Member>& members, bool withHost) {
        for (const Member& m : members) {
            failures_.clear();
            cases_ = 0;
            const size_t count = m.params.size();
            for (size_t p = 0; p < count; ++p)
                for (int k = 0; k < kKinds; ++k)
                    for (bool byRef : {false, true})
                        if (k != kMissing || !byRef)  // engines pass the marker by value
                            Try(m, count, static_cast<int>(p), static_cast<Kind>(k), byRef,
                                {Expected(m, p, static_cast<Kind>(k), withHost)},
                                "parameter " + std::to_string(p + 1) + (byRef ? " by reference " : " ") + kKindNames[k]);
            const auto required =
                std::count_if(m.params.begin(), m.params.end(), [](const Param& p) { return !p.optional; });
            // The dispatcher refuses a missing required argument with 449, or counts it as 450.
            if (required > 0)
                Try(m, static_cast<size_t>(required) - 1, -1, kEmpty, false, {449, 450}, "one argument too few");
            Try(m, count + 1, -1, kEmpty, false, {450}, "one argument too many");
            std::string shown = (withHost ? "with the host: " : "without a host: ") + Narrow(m.name) +
                                (m.kind == INVOKE_PROPERTYPUT   ? " let"
                                 : m.kind == INVOKE_PROPERTYGET ? " get"
                                                                : "") +
                                ": " + std::to_string(cases_) + " calls give their documented answer";
            for (size_t i = 0; i < failures_.size() && i < 4; ++i) shown += (i ? "; " : "; not: ") + failures_[i];
            Check(failures_.empty(), shown);
        }
    }

private:
    // A good argument for a parameter, by its name; by its type for the others ("", False, 0).
    VARIANT Good(const Param& p) const {
        static const struct {
            const wchar_t* name;
            const wchar_t* text;
            double number = 0;
        } named[] = {{L"Section", L"S", 0},         {L"Key", L"k", 0},          {L"Default", L"d", 0},
                     {L"Value", L"v", 0},           {L"KeysAndValues", L"a=1"}, {L"FormatString", L"0.00"},
                     {L"Request", L"SP"},           {L"LeftOrRight", L"L"},     {L"TCPath", L"C:\\tc"},
                     {L"Expression", nullptr, 1.5}, {L"cmd", nullptr, 1},       {L"Separator", nullptr, 50},
                     {L"Attributes", nullptr, 32},  {L"Pause", nullptr, 0}};
        if (p.name == L"FileName" || p.name == L"File") return Text(p.name == L"File" ? dates_ : ini_);
        if (p.name.rfind(L"Date", 0) == 0) return Number(43832.127835648, VT_DATE);  // 2 January 2020 03:04:05
        for (const auto& n : named)
            if (p.name == n.name) return n.text ? Text(n.text) : Number(n.number);
        return p.vt == VT_BOOL || p.vt == VT_I4 ? Typed(p.vt) : Text(L"");
    }

    // One call: the good arguments of the first count parameters, the wrong value of kind in
    // parameter bad (none when bad < 0), and the number 1 after the last parameter.
    void Try(const Member& m, size_t count, int bad, Kind kind, bool byRef, std::initializer_list<int> answers,
             const std::string& label) {
        // The files a call may change, as the next call expects them.
        if (FILE* f = _wfopen(ini_.c_str(), L"wb")) {
            fwrite("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 1, 22, f);
            fclose(f);
        }
        SetFileAttributesW(dates_.c_str(), FILE_ATTRIBUTE_NORMAL);
        VARIANT badValue = Value(kind);
        std::vector<VARIANT> args;
        for (size_t i = 0; i < count; ++i) {
            if (i >= m.params.size()) {
                args.push_back(Number(1, VT_I4));
            } else if (static_cast<int>(i) != bad) {
                args.push_back(Good(m.params[i]));
            } else if (byRef) {
                args.push_back(Typed(VT_BYREF | VT_VARIANT));
                V_VARIANTREF(&args.back()) = &badValue;
            } else {
                args.push_back(std::exchange(badValue, Typed(VT_EMPTY)));
            }
        }
        const Outcome o = Call(helper_, m.id, m.kind == INVOKE_PROPERTYPUT, std::move(args));
        VariantClear(&badValue);
        ++cases_;
        // 0: a result of the member's type; n: the script error n with a description.
        const bool good = std::any_of(answers.begin(), answers.end(), [&](int a) {
            return a ? o.error == a && o.described : o.hr == S_OK && (m.result == VT_VARIANT || o.vt == m.result);
        });
        if (!good) {
            std::string want;
            for (int a : answers) want += (want.empty() ? "" : " or ") + (a ? "error " + std::to_string(a) : "a result");
            failures_.push_back(label + " gave " +
                                (o.hr == S_OK
                                     ? "a result of type " + std::to_string(o.vt)
                                     : "error " + std::to_string(o.error) + (o.described ? "" : " without description")) +
                                ", documented: " + want);
        }
        // The settings the next calls depend on, back at their good values.
        static const wchar_t* const settings[] = {L"Pause", L"Wait", L"NoArrayReturn", L"TCPath", L"LockTC"};
        if ((m.kind == INVOKE_PROPERTYPUT || m.kind == INVOKE_FUNC) && m.params.size() == 1 &&
            std::any_of(std::begin(settings), std::end(settings), [&](const wchar_t* s) { return m.name == s; }))
            Call(helper_, m.id, m.kind == INVOKE_PROPERTYPUT, {Good(m.params[0])});
    }

    IDispatch* helper_;
    std::wstring ini_, dates_;
    std::vector<std::string> failures_;
    int cases_ = 0;
};

// ---- the faults such calls once found ----------------------------------------------------------------

// Wine's formatting service builds its text in a stack buffer of 256 characters and wrote past
// it (1E+300 under "0.00" ended the process): text that could be longer is refused with error
// 6, text that fits still comes back. Empty under a number or literal format is 0 (the service
// gave ".00").
void FormatRegressions(IDispatch* helper) {
    std::wstring twelveDates;
    for (int i = 0; i < 12; ++i) twelveDates += L"dddddd ";
    const struct {
        const char* what;
        VARIANT value;
        std::wstring format;
        int error;  // or else the length and the start of the text
        size_t length;
        const wchar_t* start;
    } cases[] = {
        {"1E+300 under 0.00", Number(1e300), L"0.00", 6, 0, L""},
        {"-1E+300 under Standard", Number(-1e300), L"Standard", 6, 0, L""},
        {"1E+200 under #,##0 (267 characters)", Number(1e200), L"#,##0", 6, 0, L""},
        {"a text that reads as 1E+300", Text(L"1e300"), L"Currency", 6, 0, L""},
        {"digits and 100 literal characters", Number(1e200), L"0" + std::wstring(100, L'x'), 6, 0, L""},
        {"twelve long dates (360 characters), not cut at 255", Number(40086, VT_DATE), twelveDates, 6, 0, L""},
        {"one long date", Number(40086, VT_DATE), L"dddddd", 0, 29, L"Wednesday, S"},
        {"a format the service would misread (300 characters)", Number(1.5), std::wstring(300, L'x'), 6, 0, L""},
        {"1E+150 under #,##0", Number(1e150), L"#,##0", 0, 201, L"1,000,000,00"},
        {"1E+200 under 0.00", Number(1e200), L"0.00", 0, 204, L"100000000000"},
        {"an exponent format, any magnitude", Number(1e300), L"0.00E+00", 0, 9, L"1.00E+300"},
        {"General Number, any magnitude", Number(1e300), L"General Number", 0, 6, L"1E+300"},
        {"Empty under 0.00", Typed(VT_EMPTY), L"0.00", 0, 4, L"0.00"},
        {"Empty in the zero section", Typed(VT_EMPTY), L"0;(0);\"zero\"", 0, 4, L"zero"},
        {"Empty under a literal", Typed(VT_EMPTY), L"\"text\"", 0, 4, L"text"},
        {"Empty under a date format", Typed(VT_EMPTY), L"yyyy-mm-dd", 0, 10, L"1899-12-30"},
    };
    for (const auto& c : cases) {
        const Outcome a = Call(helper, L"FormatAny", {c.value, Text(c.format)});
        const bool good =
            c.error ? a.error == c.error
                    : a.hr == S_OK && a.vt == VT_BSTR && a.text.size() == c.length && a.text.rfind(c.start, 0) == 0;
        Check(good, std::string("FormatAny, ") + c.what + ": " + (c.error ? "error 6" : Narrow(c.start) + "...") + " (got " +
                        (a.hr != S_OK ? "error " + std::to_string(a.error) : Narrow(a.text.substr(0, 24))) + ")");
    }
    const Outcome empty = Call(helper, L"FormatAny", {Typed(VT_EMPTY)});
    Check(empty.hr == S_OK && empty.vt == VT_BSTR && empty.text.empty(), "Empty without a format is the empty text");
}

// Wine copies a bare INI file name after the Windows folder into a buffer of MAX_PATH
// characters without checking; a name of 1000 characters ended the process.
void IniRegressions(IDispatch* helper, const std::wstring& folder) {
    Outcome a = Call(helper, L"INIRead", {Text(std::wstring(1000, L'x')), Text(L"S"), Text(L"k"), Text(L"d")});
    Check(a.vt == VT_BSTR && a.text == L"d", "INIRead of a 1000-character bare name gives the default");
    a = Call(helper, L"INIWrite", {Text(std::wstring(249, L'x')), Text(L"S"), Text(L"k"), Text(L"v")});
    Check(a.vt == VT_BOOL && a.text == L"False", "INIWrite of a bare name that does not fit the Windows folder is refused");
    a = Call(helper, L"INISectionExists", {Text(std::wstring(255, L'x') + L'\0' + L'\\'), Text(L"S")});
    Check(a.vt == VT_BOOL && a.text == L"False", "a NUL before a backslash does not hide a bare name");
    a = Call(helper, L"INIRead", {Text(std::wstring(5000, L'y'))});
    Check(a.hr == S_OK && a.vt == VT_EMPTY, "INIRead listing of a long bare name gives Empty");
    // A full path as long as it may be, wherever the checkout lives.
    const std::wstring longName = folder + L"\\" + std::wstring(258 - folder.size(), L'z');
    a = Call(helper, L"INIWrite", {Text(longName), Text(L"S"), Text(L"k"), Text(L"v")});
    Check(a.vt == VT_BOOL && a.text == L"True", "a full path of 259 characters is still written");
    a = Call(helper, L"INIRead", {Text(longName), Text(L"S"), Text(L"k")});
    Check(a.vt == VT_BSTR && a.text == L"v", "and read back");
    DeleteFileW(longName.c_str());
}

// A huge key string used to flood the host for minutes, so that the next calls timed out; the
// keys go in slices and the rest is dropped after 10 s, so at most the slice in flight arrives
// after the call. The host takes at least 1 ms a key, so 200,000 keys cannot all be typed then.
void KeystrokeFlood(IDispatch* helper, const std::wstring& config, const std::wstring& log) {
    if (FILE* f = _wfopen(config.c_str(), L"ab")) {
        fputs("\r\nkey_delay_ms=1\r\n", f);
        fclose(f);
    }
    Outcome a = Call(helper, L"SendKeystroke", {Text(std::wstring(200000, L'k'))});
    const size_t typed = HostLogLines(log, "KEYDOWN vk=75 ").size();
    Check(a.vt == VT_BOOL && a.text == L"False", "200,000 keys are not all typed: false");
    Check(typed > 0 && typed < 20000,
          "the host got some of them, and the typing stopped (" + std::to_string(typed) + " keys)");
    a = Call(helper, L"SendKeystroke", {Text(L"ok")});
    std::vector<std::string> keys = HostLogLines(log, "KEYDOWN vk=");
    std::erase_if(keys, [](const std::string& k) { return k.rfind("KEYDOWN vk=232 ", 0) == 0; });  // the library's sentinel
    const bool last = keys.size() >= 2 && keys[keys.size() - 2].rfind("KEYDOWN vk=79 ", 0) == 0 &&
                      keys.back().rfind("KEYDOWN vk=75 ", 0) == 0;
    Check(a.vt == VT_BOOL && a.text == L"True" && last, "the next keystrokes reach the host, after the flood's");
    const size_t late = HostLogLines(log, "KEYDOWN vk=75 ").size() - 1 - typed;
    Check(late < 1000,
          "the flood left a slice in flight at most, no backlog (" + std::to_string(late) + " keys came after it)");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv) || argc < 4) return 2;
    const std::wstring folder = argv[2];
    if (FILE* f = _wfopen((folder + L"\\dates.txt").c_str(), L"wb")) {
        fputs("dates", f);
        fclose(f);
    }
    CoInitialize(nullptr);
    IDispatch* helper = CreateHelper();
    Check(helper != nullptr, "CoCreateInstance of Ombrisk.Helper");
    if (!helper) return FinishReport();
    const std::vector<Member> members = ReadMembers(helper);
    Check(!members.empty(), "the type information lists " + std::to_string(members.size()) + " members");
    Call(helper, L"Pause", {Number(0, VT_I4)}, true);
    const std::wstring saved = Call(helper, L"GetTextFromClip").text;
    Check(Call(helper, L"IsRunningTC").text == L"True", "the stand-in host runs for the first pass");

    Matrix matrix(helper, folder);
    matrix.Run(members, true);
    FormatRegressions(helper);
    IniRegressions(helper, folder);
    if (argc < 5 || std::wstring(argv[4]) != L"noflood") KeystrokeFlood(helper, argv[3], folder + L"\\host.log");
    RunStandIn(L"ctl stop");
    Check(Call(helper, L"IsRunningTC").text == L"False", "no host runs for the second pass");
    matrix.Run(members, false);
    const Outcome filter = Call(helper, L"GetFilter", {Typed(VT_NULL)});
    Check(filter.hr == S_OK && filter.vt == VT_EMPTY, "without a host GetFilter converts nothing and gives Empty");

    // Afterwards the object still works and the clipboard holds its text from before.
    Call(helper, L"SetTextToClip", {Text(saved)});
    Check(Call(helper, L"GetTextFromClip").text == saved, "the clipboard holds its text from before again");
    Check(Call(helper, L"FormatAny", {Number(0.5), Text(L"0%")}).text == L"50%", "the object still works");
    Check(Call(helper, L"INIRead", {Text(folder + L"\\bad input.ini"), Text(L"S"), Text(L"k")}).text == L"v",
          "the INI file still reads");
    helper->Release();
    CoUninitialize();
    // Numbers as INI file names are bare names, which the profile functions look for in the
    // Windows folder: remove what the writes made there (best effort).
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    for (const wchar_t* bare : {L"-1", L"2147483648", L"1E+300", L"1,two,3"})
        DeleteFileW((std::wstring(windows) + L"\\" + bare).c_str());
    return FinishReport();
}
