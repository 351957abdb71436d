// Calls Ombrisk.Helper the way compiled clients (VBA, VB6) call it: a variable is passed by
// reference, so a String argument arrives as VT_BYREF | VT_BSTR and a Boolean as
// VT_BYREF | VT_BOOL. The stand-in host runs and logs the command numbers that reach it.
// Writes "ok N - ..." lines and a final "DONE passed=P failed=F" line to the report file.
//   byrefclient <outFile> <work folder> <host log>
#include "tests/client/ClientReport.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace client_report;

std::string HexOf(long v) {
    char b[16];
    snprintf(b, sizeof b, "0x%08lX", static_cast<unsigned long>(v));
    return b;
}

// A variable of the calling program: the value lives here, the call gets a reference to it.
struct StringVariable {
    explicit StringVariable(const wchar_t* text) : value(SysAllocString(text)) {}
    ~StringVariable() { SysFreeString(value); }
    StringVariable(const StringVariable&) = delete;
    StringVariable& operator=(const StringVariable&) = delete;
    VARIANT Ref() {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_BYREF | VT_BSTR;
        V_BSTRREF(&v) = &value;
        return v;
    }
    BSTR value;
};

VARIANT BoolRef(VARIANT_BOOL* b) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&v) = b;
    return v;
}

VARIANT VariantRef(VARIANT* inner) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&v) = inner;
    return v;
}

struct Outcome {
    HRESULT hr = E_FAIL;
    SCODE scode = 0;
    VARIANT value;
};

// A method call with arguments in the caller's order; the arguments are borrowed, not freed.
Outcome Invoke(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args, WORD flags = DISPATCH_METHOD) {
    Outcome o;
    VariantInit(&o.value);
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS p{reversed.empty() ? nullptr : reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()),
                 isPut ? 1u : 0u};
    EXCEPINFO excep{};
    UINT argErr = 0;
    o.hr = d->Invoke(IdOf(d, name), IID_NULL, LOCALE_USER_DEFAULT, flags, &p, &o.value, &excep, &argErr);
    o.scode = excep.scode;
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return o;
}

bool IsTrue(const Outcome& o) { return SUCCEEDED(o.hr) && V_VT(&o.value) == VT_BOOL && V_BOOL(&o.value) == VARIANT_TRUE; }

std::string Describe(const Outcome& o) {
    if (FAILED(o.hr)) return "failed " + HexOf(o.hr) + " scode " + HexOf(o.scode);
    return "vt " + std::to_string(V_VT(&o.value));
}

void SendCommandChecks(IDispatch* d, const wchar_t* commandFile) {
    VARIANT zero;
    VariantInit(&zero);
    V_VT(&zero) = VT_I4;
    Outcome o = Invoke(d, L"Pause", {zero}, DISPATCH_PROPERTYPUT);
    Check(SUCCEEDED(o.hr), "Pause set to 0");

    // Before any command table: a number in a string variable is a number, not a name (a name
    // would raise subscript out of range here).
    VARIANT_BOOL wait = VARIANT_TRUE;
    StringVariable number(L"2050");
    o = Invoke(d, L"SendCommand", {number.Ref(), BoolRef(&wait)});
    Check(IsTrue(o), "SendCommand with the string variable 2050 by reference is sent (" + Describe(o) + ")");
    VariantClear(&o.value);
    StringVariable half(L"2051.5");
    o = Invoke(d, L"SendCommand", {half.Ref(), BoolRef(&wait)});
    Check(IsTrue(o), "SendCommand with the string variable 2051.5 by reference is sent (" + Describe(o) + ")");
    VariantClear(&o.value);
    // A Variant variable holding the text, as scripts pass it.
    VARIANT text;
    VariantInit(&text);
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocString(L"2053");
    o = Invoke(d, L"SendCommand", {VariantRef(&text), BoolRef(&wait)});
    Check(IsTrue(o), "SendCommand with a Variant variable holding 2053 is sent (" + Describe(o) + ")");
    VariantClear(&o.value);
    VariantClear(&text);
    // Wait given as a Boolean variable set to False: posted.
    VARIANT_BOOL post = VARIANT_FALSE;
    StringVariable posted(L"2054");
    o = Invoke(d, L"SendCommand", {posted.Ref(), BoolRef(&post)});
    Check(IsTrue(o), "SendCommand with WaitIt False by reference is posted (" + Describe(o) + ")");
    VariantClear(&o.value);

    // With a table, names still resolve when passed by reference, and numbers stay numbers.
    StringVariable file(commandFile);
    o = Invoke(d, L"LoadIncFile", {file.Ref()});
    Check(IsTrue(o), "LoadIncFile with the file name by reference (" + Describe(o) + ")");
    VariantClear(&o.value);
    StringVariable name(L"openfoo");
    o = Invoke(d, L"SendCommand", {name.Ref(), BoolRef(&wait)});
    Check(IsTrue(o), "SendCommand with the name openfoo by reference (" + Describe(o) + ")");
    VariantClear(&o.value);
    StringVariable again(L"2055");
    o = Invoke(d, L"SendCommand", {again.Ref(), BoolRef(&wait)});
    Check(IsTrue(o), "SendCommand with the string variable 2055 by reference after the table loaded (" + Describe(o) + ")");
    VariantClear(&o.value);
}

// INIRead in list mode turns a numeric section name into its number's text (" 5.0 " reads
// section 5); the same text by reference must do the same.
void IniChecks(IDispatch* d, const wchar_t* iniFile) {
    StringVariable file(iniFile);
    StringVariable section(L" 5.0 ");
    Outcome o = Invoke(d, L"INIRead", {file.Ref(), section.Ref()});
    std::string keys;
    bool good = SUCCEEDED(o.hr) && V_VT(&o.value) == (VT_ARRAY | VT_VARIANT);
    if (good) {
        SAFEARRAY* a = V_ARRAY(&o.value);
        LONG lo = 0, hi = -1;
        SafeArrayGetLBound(a, 1, &lo);
        SafeArrayGetUBound(a, 1, &hi);
        for (LONG i = lo; i <= hi; ++i) {
            VARIANT item;
            VariantInit(&item);
            SafeArrayGetElement(a, &i, &item);
            if (V_VT(&item) == VT_BSTR) {
                for (UINT k = 0; k < SysStringLen(V_BSTR(&item)); ++k) keys.push_back(static_cast<char>(V_BSTR(&item)[k]));
            }
            keys.push_back(';');
            VariantClear(&item);
        }
    }
    Check(good && keys == "alpha;beta;",
          "INIRead lists section 5 for the section text \" 5.0 \" by reference (" + Describe(o) + ", keys " + keys + ")");
    VariantClear(&o.value);
}

bool WriteText(const std::wstring& path, const char* text) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool written = fputs(text, f) >= 0;
    return fclose(f) == 0 && written;
}

// The numbers that reached the host. A sent command may overtake the posted one still waiting
// in the host's queue (Pause is 0): the sent ones are compared in their order, the posted one
// on its own.
void HostLogChecks(const std::wstring& log) {
    Check(WaitHostLog(log, "CMD ", 6, 5000), "six commands reached the host");
    const std::vector<std::string> sent = HostLogLines(log, "CMD sent "), posted = HostLogLines(log, "CMD posted ");
    const std::vector<std::string> expected = {"CMD sent 2050 lparam=0", "CMD sent 2052 lparam=0", "CMD sent 2053 lparam=0",
                                               "CMD sent 301 lparam=0", "CMD sent 2055 lparam=0"};
    Check(sent == expected, "numbers in String variables are sent as numbers, halves to even; names still resolve");
    Check(posted == std::vector<std::string>{"CMD posted 2054 lparam=0"}, "WaitIt False by reference posts the number");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv)) return 2;
    if (argc < 4) {
        Check(false, "usage: byrefclient <outFile> <work folder> <host log>");
        return FinishReport();
    }
    const std::wstring folder = argv[2], inc = folder + L"\\byref.inc", ini = folder + L"\\byref.ini";
    Check(WriteText(inc, "[Section]\r\nOpenFoo=301;Some comment\r\n") &&
              WriteText(ini, "[5.0]\r\nwrong=1\r\n[5]\r\nalpha=1\r\nbeta=2\r\n"),
          "the command file and the INI file are written");
    CoInitialize(nullptr);
    IDispatch* d = CreateHelper();
    Check(d != nullptr, "CoCreateInstance of Ombrisk.Helper");
    if (d) {
        SendCommandChecks(d, inc.c_str());
        IniChecks(d, ini.c_str());
        d->Release();
        HostLogChecks(argv[3]);
    }
    CoUninitialize();
    return FinishReport();
}
