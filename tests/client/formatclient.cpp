// formatclient.exe <report> <table>: FormatAny, through IDispatch, with the rows of Windows' own
// formatting results (tests/data/varformat-windows.tsv) whose automation type a script cannot
// build (signed byte, the unsigned and 64-bit integers, a Boolean by reference). Each value is
// passed with the row's own type; the text must be Windows' text. Rows with another first day
// or week than FormatAny's (Sunday, the week of 1 January) do not apply and are skipped.
#include "tests/client/ClientReport.h"
#include "tests/data/VarFormatTable.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace client_report;
using varformat_table::Split;
using varformat_table::Unquote;

// The value of a row in its own type; false for a type this client does not build.
bool Build(const std::string& vartype, const std::string& text, VARIANT& v, VARIANT_BOOL& byrefTarget) {
    const long long n = std::atoll(text.c_str());
    VariantInit(&v);
    if (vartype == "VT_I1") {
        V_VT(&v) = VT_I1;
        V_I1(&v) = static_cast<CHAR>(n);
    } else if (vartype == "VT_INT") {
        V_VT(&v) = VT_INT;
        V_INT(&v) = static_cast<INT>(n);
    } else if (vartype == "VT_I8") {
        V_VT(&v) = VT_I8;
        V_I8(&v) = n;
    } else if (vartype == "VT_UI2") {
        V_VT(&v) = VT_UI2;
        V_UI2(&v) = static_cast<USHORT>(n);
    } else if (vartype == "VT_UI4") {
        V_VT(&v) = VT_UI4;
        V_UI4(&v) = static_cast<ULONG>(n);
    } else if (vartype == "VT_UI8") {
        V_VT(&v) = VT_UI8;
        V_UI8(&v) = static_cast<ULONGLONG>(n);
    } else if (vartype == "VT_UINT") {
        V_VT(&v) = VT_UINT;
        V_UINT(&v) = static_cast<UINT>(n);
    } else if (vartype == "VT_BOOL|VT_BYREF") {
        byrefTarget = n ? VARIANT_TRUE : VARIANT_FALSE;
        V_VT(&v) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&v) = &byrefTarget;
    } else {
        return false;
    }
    return true;
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }  // the table is ASCII

std::string Narrow(const wchar_t* s, UINT n) {
    std::string out;
    for (UINT i = 0; i < n; ++i) out += s[i] < 0x80 ? static_cast<char>(s[i]) : '?';
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv) || argc < 3) return 2;
    CoInitialize(nullptr);
    IDispatch* helper = CreateHelper();
    Check(helper != nullptr, "Ombrisk.Helper is created");
    FILE* in = _wfopen(argv[2], L"rb");
    Check(in != nullptr, "the table opens");
    if (!helper || !in) return FinishReport();
    const DISPID formatAny = IdOf(helper, L"FormatAny");

    std::string all;
    char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, in)) > 0;) all.append(chunk, got);
    fclose(in);

    int compared = 0;
    bool header = false;
    for (std::string line : Split(all, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!header) {
            header = true;
            continue;
        }
        std::vector<std::string> cells = Split(line, '\t');
        cells.resize(8);
        if (!cells[3].empty() && cells[3] != "fd=1") continue;
        VARIANT value;
        VARIANT_BOOL target = VARIANT_FALSE;
        if (!Build(cells[0], cells[1], value, target)) continue;
        const std::string where = "line " + cells[7] + " " + cells[0] + " " + cells[1] + " under " + cells[2];
        const std::wstring expected = cells[5] == "NULL" ? std::wstring() : Wide(Unquote(cells[5]));

        // Script order: value, then the format unless the row has none (DISPPARAMS are reversed).
        VARIANT args[2];
        VariantInit(&args[0]);
        const bool hasFormat = !cells[2].empty();
        UINT count = 1;
        if (hasFormat) {
            V_VT(&args[0]) = VT_BSTR;
            V_BSTR(&args[0]) = SysAllocString(Wide(Unquote(cells[2])).c_str());
            args[1] = value;
            count = 2;
        } else {
            args[0] = value;
        }
        DISPPARAMS params{args, nullptr, count, 0};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO excep{};
        const HRESULT hr =
            helper->Invoke(formatAny, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &excep, nullptr);
        if (FAILED(hr)) {
            Check(false, where + ": the call failed");
        } else if (V_VT(&result) != VT_BSTR) {
            Check(false, where + ": the result is not a string");
        } else {
            const BSTR text = V_BSTR(&result);
            const UINT n = text ? SysStringLen(text) : 0;
            const bool same = std::wstring(text ? text : L"", n) == expected;
            const std::string note =
                " (got [" + Narrow(text, n) + "], expected [" + Narrow(expected.c_str(), expected.size()) + "])";
            Check(same, where + (same ? "" : note));
        }
        ++compared;
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrHelpFile);
        VariantClear(&result);
        if (hasFormat) VariantClear(&args[0]);
    }
    Check(compared == 259, "the rows of types a script cannot build: " + std::to_string(compared) + " of 259");
    helper->Release();
    CoUninitialize();
    return FinishReport();
}
