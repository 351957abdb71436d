// The rows of tests/data/varformat-windows.tsv (Windows' own formatting results) as compiled
// clients run them: each value built in the row's own automation type and passed to FormatAny
// through IDispatch with the row's format, the text compared with Windows' text.
#pragma once

#include "tests/client/ClientReport.h"
#include "tests/data/VarFormatTable.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace format_rows {

struct Row {
    std::string vartype, value, format, expected, line;  // format and expected as quoted in the table
    // False for another first day or week than FormatAny's (Sunday, the week of 1 January).
    bool applicable = true;
};

// The rows after the header line; nothing when the file cannot be read.
inline std::optional<std::vector<Row>> ReadRows(const wchar_t* path) {
    FILE* in = _wfopen(path, L"rb");
    if (!in) return std::nullopt;
    std::string all;
    char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, in)) > 0;) all.append(chunk, got);
    fclose(in);
    std::vector<Row> rows;
    bool header = false;
    for (std::string line : varformat_table::Split(all, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!header) {
            header = true;
            continue;
        }
        std::vector<std::string> c = varformat_table::Split(line, '\t');
        c.resize(8);
        rows.push_back({c[0], c[1], c[2], c[5], c[7], c[3].empty() || c[3] == "fd=1"});
    }
    return rows;
}

// Whether VBScript can build a value of this type itself (the others need a compiled client).
inline bool ScriptBuilds(const std::string& vartype) {
    for (const char* t : {"VT_I2", "VT_I4", "VT_UI1", "VT_R4", "VT_R8", "VT_DATE", "VT_BSTR", "VT_BOOL", "VT_NULL"})
        if (vartype == t) return true;
    return false;
}

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }  // the table is ASCII

inline std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

struct TypeName {
    const char* name;
    VARTYPE type;
};
inline constexpr TypeName kTypes[] = {{"VT_I1", VT_I1},
                                      {"VT_UI1", VT_UI1},
                                      {"VT_I2", VT_I2},
                                      {"VT_UI2", VT_UI2},
                                      {"VT_I4", VT_I4},
                                      {"VT_UI4", VT_UI4},
                                      {"VT_INT", VT_INT},
                                      {"VT_UINT", VT_UINT},
                                      {"VT_I8", VT_I8},
                                      {"VT_UI8", VT_UI8},
                                      {"VT_R4", VT_R4},
                                      {"VT_R8", VT_R8},
                                      {"VT_DATE", VT_DATE},
                                      {"VT_BOOL", VT_BOOL},
                                      {"VT_BSTR", VT_BSTR},
                                      {"VT_NULL", VT_NULL},
                                      {"VT_BOOL|VT_BYREF", VT_BOOL | VT_BYREF}};

// The row's value in its own type (a date from its serial number, as the table writes it); false
// for a type not known here. byrefTarget holds the Boolean a by-reference row points to.
inline bool Build(const Row& row, VARIANT& v, VARIANT_BOOL& byrefTarget) {
    VariantInit(&v);
    for (const TypeName& t : kTypes)
        if (row.vartype == t.name) V_VT(&v) = t.type;
    const long long n = std::atoll(row.value.c_str());
    const double real = std::atof(row.value.c_str());
    switch (V_VT(&v)) {
    case VT_I1: V_I1(&v) = static_cast<CHAR>(n); break;
    case VT_UI1: V_UI1(&v) = static_cast<BYTE>(n); break;
    case VT_I2: V_I2(&v) = static_cast<SHORT>(n); break;
    case VT_UI2: V_UI2(&v) = static_cast<USHORT>(n); break;
    case VT_I4: V_I4(&v) = static_cast<LONG>(n); break;
    case VT_UI4: V_UI4(&v) = static_cast<ULONG>(n); break;
    case VT_INT: V_INT(&v) = static_cast<INT>(n); break;
    case VT_UINT: V_UINT(&v) = static_cast<UINT>(n); break;
    case VT_I8: V_I8(&v) = n; break;
    case VT_UI8: V_UI8(&v) = static_cast<ULONGLONG>(n); break;
    case VT_R4: V_R4(&v) = static_cast<float>(real); break;
    case VT_R8: V_R8(&v) = real; break;
    case VT_DATE: V_DATE(&v) = real; break;
    case VT_BOOL: V_BOOL(&v) = n ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_BSTR: V_BSTR(&v) = SysAllocString(Wide(varformat_table::Unquote(row.value)).c_str()); break;
    case VT_NULL: break;
    case VT_BOOL | VT_BYREF:
        byrefTarget = n ? VARIANT_TRUE : VARIANT_FALSE;
        V_BOOLREF(&v) = &byrefTarget;
        break;
    default: return false;
    }
    return true;
}

// FormatAny(value[, format]) as a script calls it; the text, or nothing with the reason in failure.
inline std::optional<std::wstring> FormatRow(IDispatch* helper, DISPID formatAny, const Row& row, std::string& failure) {
    VARIANT args[2];  // DISPPARAMS lists the arguments last to first
    VARIANT_BOOL target = VARIANT_FALSE;
    if (!Build(row, args[1], target)) {
        failure = "unknown type";
        return std::nullopt;
    }
    const bool hasFormat = !row.format.empty();
    VariantInit(&args[0]);
    if (hasFormat) {
        V_VT(&args[0]) = VT_BSTR;
        V_BSTR(&args[0]) = SysAllocString(Wide(varformat_table::Unquote(row.format)).c_str());
    }
    DISPPARAMS params{hasFormat ? args : args + 1, nullptr, hasFormat ? 2u : 1u, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep{};
    const HRESULT hr =
        helper->Invoke(formatAny, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &excep, nullptr);
    std::optional<std::wstring> text;
    if (FAILED(hr)) failure = "the call failed";
    else if (V_VT(&result) != VT_BSTR) failure = "the result is not a string";
    else text = std::wstring(V_BSTR(&result) ? V_BSTR(&result) : L"", SysStringLen(V_BSTR(&result)));
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
    VariantClear(&result);
    VariantClear(&args[0]);
    VariantClear(&args[1]);
    return text;
}

// One check for the row: FormatAny gives Windows' text, or (asWindows false) any other text.
// Returns whether the check passed.
inline bool CheckRow(IDispatch* helper, DISPID formatAny, const Row& row, bool asWindows = true) {
    const std::string where = "line " + row.line + " " + row.vartype + " " + row.value + " under " + row.format;
    const std::wstring expected = row.expected == "NULL" ? std::wstring() : Wide(varformat_table::Unquote(row.expected));
    std::string failure;
    const std::optional<std::wstring> text = FormatRow(helper, formatAny, row, failure);
    if (!text) {
        client_report::Check(false, where + ": " + failure);
        return false;
    }
    const bool good = (*text == expected) == asWindows;
    const std::string note = " (got [" + Narrow(*text) + "], Windows' [" + Narrow(expected) + "])";
    client_report::Check(good, where + (asWindows ? "" : ": not Windows' text") + (good && asWindows ? "" : note));
    return good;
}

}  // namespace format_rows
