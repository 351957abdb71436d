// Windows' own results of its formatting service (tests/data/varformat-windows.tsv) against the
// choices FormatAny makes: on Windows every row goes to the service; under Wine only the rows
// where Wine is wrong are formatted or rewritten here, and where our code writes the text it must
// be Windows' text.
#include "core/WineFormat.h"
#include "tests/data/VarFormatTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace ombrisk {
namespace {

struct Row {
    std::string vartype, value, format, flags, expected;
    bool formatAbsent = false;
    int line = 0;
};

using varformat_table::Unquote;

std::vector<Row> ReadTable() {
    std::ifstream in(OMBRISK_TEST_DATA_DIR "/varformat-windows.tsv");
    std::vector<Row> rows;
    std::string line;
    bool header = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (!header) {
            header = true;
            continue;
        }
        std::vector<std::string> cells = varformat_table::Split(line, '\t');
        cells.resize(8);
        Row r;
        r.vartype = cells[0];
        r.value = cells[1];
        r.formatAbsent = cells[2].empty();
        r.format = Unquote(cells[2]);
        r.flags = cells[3];
        r.expected = cells[5] == "NULL" ? "" : Unquote(cells[5]);
        r.line = std::stoi(cells[7]);
        rows.push_back(r);
    }
    return rows;
}

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }  // the table is ASCII

bool IsInteger(const std::string& vartype) {
    return vartype == "VT_I1" || vartype == "VT_I2" || vartype == "VT_I4" || vartype == "VT_I8" || vartype == "VT_INT" ||
           vartype == "VT_UI1" || vartype == "VT_UI2" || vartype == "VT_UI4" || vartype == "VT_UI8" || vartype == "VT_UINT";
}

// The value's kind, and for strings and integers its text in the general format.
FormatValue ValueOf(const Row& r, std::u16string& text) {
    FormatValue v;
    if (r.vartype == "VT_BSTR") {
        v.kind = ValueKind::String;
        text = U16(Unquote(r.value));
    } else if (r.vartype == "VT_NULL") {
        v.kind = ValueKind::Null;
    } else if (r.vartype.rfind("VT_BOOL", 0) == 0) {
        v.kind = ValueKind::Boolean;
    } else if (r.vartype == "VT_DATE") {
        v.kind = ValueKind::Date;
    } else {
        v.kind = ValueKind::Number;
        if (IsInteger(r.vartype)) text = U16(r.value);
    }
    v.text = text;
    return v;
}

int IntegerDigitsOf(const Row& r) {
    if (r.vartype == "VT_BSTR" || r.vartype == "VT_NULL") return 0;
    const double value = std::stod(r.value);
    int digits = 1;
    for (double m = value < 0 ? -value : value; m >= 10; m /= 10) ++digits;
    return digits;
}

// The rows that apply to FormatAny: it always passes Sunday and the week of 1 January.
std::vector<Row> ApplicableRows() {
    std::vector<Row> rows;
    for (const Row& r : ReadTable())
        if (r.flags.empty() || r.flags == "fd=1") rows.push_back(r);
    return rows;
}

std::string Where(const Row& r) {
    return "line " + std::to_string(r.line) + " " + r.vartype + " " + r.value + " under \"" + r.format + "\"";
}

TEST(FormatAnyOracle, TheTableIsComplete) {
    EXPECT_EQ(ReadTable().size(), 583u);
    EXPECT_EQ(ApplicableRows().size(), 573u);
}

TEST(FormatAnyOracle, OnWindowsEveryRowGoesToTheService) {
    for (const Row& r : ApplicableRows()) {
        std::u16string text;
        const FormatValue v = ValueOf(r, text);
        const std::u16string format = U16(r.format);
        EXPECT_EQ(ChooseFormatRoute(ClassifyFormat(format), format, v, false, true), FormatRoute::Service) << Where(r);
    }
}

// Under Wine, our code stands in for the rows with ! (ignored by Wine) and rewrites the exponents
// with # (misread by Wine); every other row goes to the service as it is.
TEST(FormatAnyOracle, UnderWineOurCodeDecidesOnlyWhereWineIsWrong) {
    int formattedHere = 0, exponents = 0;
    for (const Row& r : ApplicableRows()) {
        std::u16string text;
        const FormatValue v = ValueOf(r, text);
        const std::u16string format = U16(r.format);
        const FormatKind kind = ClassifyFormat(format);
        const bool exceeded =
            kind != FormatKind::String && FormattedLengthBound(format, IntegerDigitsOf(r), 1) > kWineServiceTextLimit;
        const FormatRoute route = ChooseFormatRoute(kind, format, v, true, exceeded);
        const bool bang = r.format.find('!') != std::string::npos;
        EXPECT_EQ(route, bang ? FormatRoute::Text : FormatRoute::Service) << Where(r);
        if (route == FormatRoute::Text) {
            ++formattedHere;
            EXPECT_EQ(FormatText(v.text, v.text.empty() || v.kind == ValueKind::Null, format), U16(r.expected)) << Where(r);
        }
        const std::u16string exponent = ExponentWithoutHashes(format);
        if (!exponent.empty()) {
            ++exponents;
            EXPECT_EQ(kind, FormatKind::Number) << Where(r);
            // 366-369 are Wine's misreadings; on 355 ("0#") Wine is right and the rewrite means the same.
            EXPECT_TRUE(r.line == 355 || (r.line >= 366 && r.line <= 369)) << Where(r);
        }
    }
    EXPECT_EQ(formattedHere, 2);
    EXPECT_EQ(exponents, 5);
}

// Our string formatting stands in under Wine (for !, letters outside ASCII, long texts): it
// gives Windows' text for every string format of the table, also those Wine gets right.
TEST(FormatAnyOracle, OurStringFormattingGivesWindowsText) {
    int compared = 0;
    for (const Row& r : ApplicableRows()) {
        const std::u16string format = U16(r.format);
        if (r.formatAbsent || ClassifyFormat(format) != FormatKind::String) continue;
        std::u16string text;
        const FormatValue v = ValueOf(r, text);
        EXPECT_EQ(FormatText(v.text, v.text.empty(), format), U16(r.expected)) << Where(r);
        ++compared;
    }
    EXPECT_EQ(compared, 14);
}

}  // namespace
}  // namespace ombrisk
