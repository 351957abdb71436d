// formatanyclient.exe <report> <table>: FormatAny, through IDispatch, with the rows of Windows' own
// formatting results (tests/data/varformat-windows.tsv) whose automation type a script cannot
// build (signed byte, the unsigned and 64-bit integers, a Boolean by reference). Each value is
// passed with the row's own type; the text must be Windows' text. Rows with another first day
// or week than FormatAny's (Sunday, the week of 1 January) do not apply and are skipped.
#include "tests/client/ClientReport.h"
#include "tests/client/FormatRows.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

using namespace client_report;

int wmain(int argc, wchar_t** argv) {
    if (!OpenReport(argc, argv) || argc < 3) return 2;
    CoInitialize(nullptr);
    IDispatch* helper = CreateHelper();
    Check(helper != nullptr, "Ombrisk.Helper is created");
    const auto rows = format_rows::ReadRows(argv[2]);
    Check(rows.has_value(), "the table opens");
    if (!helper || !rows) return FinishReport();
    const DISPID formatAny = IdOf(helper, L"FormatAny");
    int compared = 0;
    for (const format_rows::Row& row : *rows) {
        if (!row.applicable || format_rows::ScriptBuilds(row.vartype)) continue;
        format_rows::CheckRow(helper, formatAny, row);
        ++compared;
    }
    Check(compared == 259, "the rows of types a script cannot build: " + std::to_string(compared) + " of 259");
    helper->Release();
    CoUninitialize();
    return FinishReport();
}
