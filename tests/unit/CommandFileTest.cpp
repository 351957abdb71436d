// The command-definition file: the number reader and the table it builds.
#include "core/CommandFile.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace ombrisk {

void PrintTo(const CommandEntryA& e, std::ostream* os) { *os << "{\"" << e.name << "\", " << e.number << "}"; }

namespace {

using Table = std::vector<CommandEntryA>;

struct NumberCase {
    std::string text;
    int32_t expected;
};

void ExpectNumbers(const std::vector<NumberCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE("text: \"" + c.text + "\"");
        int32_t value = -777;
        EXPECT_EQ(ReadCommandNumber(c.text, value), NumberStatus::Ok);
        EXPECT_EQ(value, c.expected);
    }
}

TEST(ReadCommandNumber, DecimalRoundsToNearestWithHalvesToEven) {
    ExpectNumbers({
        {"2050", 2050},
        {"2050.4", 2050},
        {"2050.5", 2050},
        {"2051.5", 2052},
        {"2050.51", 2051},
        {"2050.49999", 2050},
        {"0.5", 0},
        {"1.5", 2},
        {"2.5", 2},
        {".5", 0},
        {".51", 1},
        {"5.", 5},
        {"0.05", 0},
        {"0.0051E3", 5},
        {"007", 7},
        {"-2050.5", -2050},
        {"-2051.5", -2052},
        {"-0.5", 0},
        {"-0.51", -1},
        {"2147483646.5", 2147483646},
        // Exact decimal rounding: a binary double would make these exactly .5 and round down.
        {"2050.500000000000000000001", 2051},
        {"0.50000000000000000000000001", 1},
    });
}

TEST(ReadCommandNumber, SignAndExponent) {
    ExpectNumbers({
        {"+12", 12},
        {"-12", -12},
        {"- 12", -12},
        {"--12", 0},
        {"+-1", 0},
        {"1.2E3", 1200},
        {"1.2e3", 1200},
        {"12D2", 1200},
        {"12d-1", 1},
        {"25E-1", 2},
        {"35E-1", 4},
        {"1E+2", 100},
        {"-1E2", -100},
        {"1E", 1},
        {"1E+", 1},
        {"1Ex5", 1},
        {"1E-400", 0},
        {"0E999999999999999999999", 0},
        {"2.147483647E9", 2147483647},
        {"123456789E-8", 1},
        {"E5", 0},
    });
}

TEST(ReadCommandNumber, HexAndOctalArePlainNonNegativeValues) {
    ExpectNumbers({
        {"&H7D0", 2000},
        {"&h7d0", 2000},
        {"&O17", 15},
        {"&o17", 15},
        {"&O18", 1},
        {"&H1G", 1},
        {"&HFFFF", 65535},
        {"&H7FFFFFFF", 2147483647},
        {"&H", 0},
        {"&X10", 0},
        {"&10", 0},
        {"&H10.5", 16},
        {"-&H10", -16},
        {"+&O7", 7},
        {"&H0000000000000000000001", 1},
        {"-&H80000000", -2147483647 - 1},
    });
}

TEST(ReadCommandNumber, BlanksAreSkippedAnywhereAndOtherCharactersEndTheNumber) {
    ExpectNumbers({
        {"1 2", 12},
        {" \t12", 12},
        {"1\n2", 12},
        {"1\t2", 12},
        {"1 . 5", 2},
        {"1 E 2", 100},
        {"1E - 2", 0},
        {"& H 10", 16},
        {"301;Some comment", 301},
        {"12 ; 34", 12},
        {"12abc", 12},
        {"12.5.7", 12},
        {"12,5", 12},
        {"1\r2", 1},
        {std::string("1\0002", 3), 1},
    });
}

// Nine plain digits ended by a character that cannot go on are read directly; a tenth digit,
// a point, an exponent or a blank after them must still be taken into the number.
TEST(ReadCommandNumber, TheShortFormAgreesWithTheFullReadingAtItsEdges) {
    ExpectNumbers({
        {"999999999;x", 999999999},
        {"999999999", 999999999},
        {"999999999.5;", 1000000000},
        {"99999999 9;", 999999999},
        {"123456789E1;", 1234567890},
        {"123456789d-9", 0},
        {"1234567891;", 1234567891},
        {"0000000001;", 1},
        {"000000000", 0},
        {"12\t3;", 123},
        {"12\n3", 123},
        {"540,1", 540},
        {"540\r", 540},
        {"4.5;", 4},
        {"45e;", 45},
    });
}

TEST(ReadCommandNumber, TextWithoutNumberIsZero) {
    ExpectNumbers({{"", 0}, {";comment", 0}, {"abc", 0}, {".", 0}, {"-", 0}, {"   ", 0}, {"\t\n", 0}});
}

TEST(ReadCommandNumber, RangeIsCheckedAfterRounding) {
    ExpectNumbers({
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483647.4", 2147483647},
        {"-2147483648.5", -2147483647 - 1},
        {"0000000000002147483647", 2147483647},
    });
    for (const std::string text :
         {"2147483648", "-2147483649", "2147483647.5", "-2147483648.6", "99999999999999999999", "1E400", "2.147483648E9",
          "&H80000000", "&HFFFFFFFF", "&O20000000000", "-&H80000001", "1E99999999999999999999"}) {
        SCOPED_TRACE("text: \"" + text + "\"");
        int32_t value = 77;
        EXPECT_EQ(ReadCommandNumber(text, value), NumberStatus::Overflow);
        EXPECT_EQ(value, 77) << "value must be left unchanged on overflow";
    }
}

struct FileCase {
    const char* what;
    std::string file;
    Table before;
    CommandFileStatus status;
    Table after;
};

// The table by position, its names collected: what creation keeps, as entries with names.
Table ByPosition(const std::string& file, CommandFileStatus& status) {
    std::vector<CommandEntryAt> at;
    status = ParseCommandFile(file, at);
    const std::string names = CollectCommandNames(file, at);
    Table table;
    size_t end = 0;
    for (const CommandEntryAt& e : at) {
        EXPECT_EQ(e.offset, end) << "the collected names stand one after another";
        end = e.offset + e.length;
        table.push_back({names.substr(e.offset, e.length), e.number});
    }
    EXPECT_EQ(names.size(), end) << "the collected names end with the last name";
    return table;
}

// Every case also through the parse by position (which always starts from an empty table):
// it must find the same names and numbers as the parse into strings from an empty table.
void ExpectTables(const std::vector<FileCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Table table = c.before;
        EXPECT_EQ(ParseCommandFile(c.file, table), c.status);
        EXPECT_EQ(table, c.after);

        Table fromEmpty;
        const CommandFileStatus status = ParseCommandFile(c.file, fromEmpty);
        CommandFileStatus atStatus = CommandFileStatus::Ok;
        EXPECT_EQ(ByPosition(c.file, atStatus), fromEmpty);
        EXPECT_EQ(atStatus, status);
    }
}

const Table kOld = {{"Old1", 1}, {"Old2", 2}, {"Old3", 3}, {"Old4", 4}};

TEST(ParseCommandFile, ZeroEntriesAreOverwrittenExceptTheLast) {
    ExpectTables({
        {"zero entry in the middle is overwritten",
         "CmdA = 12\r\n[Section]\r\nCmdB=0\r\nCmdC=13\r\n",
         {},
         CommandFileStatus::Ok,
         {{"CmdA", 12}, {"CmdC", 13}}},
        {"last defining line with zero stays",
         "CmdA = 12\r\n[Section]\r\nCmdC=13\r\nCmdB=0\r\n",
         {},
         CommandFileStatus::Ok,
         {{"CmdA", 12}, {"CmdC", 13}, {"CmdB", 0}}},
        {"trailing non-defining lines do not remove the zero entry",
         "A=1\r\nB=0\r\n[x]\r\n;c\r\n",
         {},
         CommandFileStatus::Ok,
         {{"A", 1}, {"B", 0}}},
        {"several zero lines leave only the last", "A=0\r\nB=0\r\nC=0", kOld, CommandFileStatus::Ok, {{"C", 0}}},
        {"text without a number is zero", "A=;none\r\nB=x\r\nC=5", {}, CommandFileStatus::Ok, {{"C", 5}}},
    });
}

TEST(ParseCommandFile, ReplacesOrKeepsTheEarlierTable) {
    ExpectTables({
        {"a longer old table is cut to the new entries", "A=1\r\n", kOld, CommandFileStatus::Ok, {{"A", 1}}},
        {"no defining line keeps the old table", "[Section]\r\n;comment\r\n\r\n", kOld, CommandFileStatus::Ok, kOld},
        {"empty file keeps the old table", "", kOld, CommandFileStatus::Ok, kOld},
        {"no defining line on an empty table", "nothing here", {}, CommandFileStatus::Ok, {}},
        {"duplicates are all stored", "A=1\r\nA=2\r\na=3", kOld, CommandFileStatus::Ok, {{"A", 1}, {"A", 2}, {"a", 3}}},
    });
}

TEST(ParseCommandFile, LinesEndAtCarriageReturnOnly) {
    ExpectTables({
        {"LF-only file is one line", "A=1\nB=2\nC=3\n", {}, CommandFileStatus::Ok, {{"A", 1}}},
        {"LF inside the number is skipped", "A=1\n2", {}, CommandFileStatus::Ok, {{"A", 12}}},
        {"CR-only line ends", "A=1\rB=2\rC=3\r", {}, CommandFileStatus::Ok, {{"A", 1}, {"B", 2}, {"C", 3}}},
        {"CR LF is one line end", "A=1\r\nB=2", {}, CommandFileStatus::Ok, {{"A", 1}, {"B", 2}}},
        {"an LF after CR LF starts the next line", "A=1\r\n\nB=2", {}, CommandFileStatus::Ok, {{"A", 1}, {"\nB", 2}}},
        {"CR CR LF holds an empty line", "A=1\r\r\nB=2\r\n", {}, CommandFileStatus::Ok, {{"A", 1}, {"B", 2}}},
    });
}

TEST(ParseCommandFile, NameIsTextBeforeFirstEqualsTrimmedOfSpaces) {
    ExpectTables({
        {"spaces trimmed, inner space and case kept",
         "  Open Foo  =301;Some comment",
         {},
         CommandFileStatus::Ok,
         {{"Open Foo", 301}}},
        {"tabs are not trimmed", "\tCmd\t=1", {}, CommandFileStatus::Ok, {{"\tCmd\t", 1}}},
        {"second equals belongs to the number text", "A=B=3\r\nC==5\r\nD=7=8", {}, CommandFileStatus::Ok, {{"D", 7}}},
        {"empty name", "=5\r\n   =6", {}, CommandFileStatus::Ok, {{"", 5}, {"", 6}}},
        {"ANSI bytes are kept as they are", "\xC4nderung=5", {}, CommandFileStatus::Ok, {{"\xC4nderung", 5}}},
        {"hex and octal numbers",
         "cm_A=&H7D0\r\ncm_B = &O17 ;octal",
         {},
         CommandFileStatus::Ok,
         {{"cm_A", 2000}, {"cm_B", 15}}},
        {"negative numbers are kept", "Neg=-5", {}, CommandFileStatus::Ok, {{"Neg", -5}}},
    });
}

TEST(ParseCommandFile, OverflowStopsAndKeepsTheEntriesBefore) {
    ExpectTables({
        {"entries before the bad line stay, later lines are not read",
         "A=1\r\nB=2147483648\r\nC=3",
         kOld,
         CommandFileStatus::Overflow,
         {{"A", 1}}},
        {"a zero entry before the bad line is its element and goes",
         "A=1\r\nZ=0\r\nB=-2147483649\r\n",
         {},
         CommandFileStatus::Overflow,
         {{"A", 1}}},
        {"bad first line leaves an empty table", "B=99999999999\r\nC=3", kOld, CommandFileStatus::Overflow, {}},
        {"rounding up to 2^31 overflows", "A=7\r\nB=2147483647.5", {}, CommandFileStatus::Overflow, {{"A", 7}}},
        {"the smallest int32 does not overflow",
         "A=-2147483648\r\nB=2147483647",
         {},
         CommandFileStatus::Ok,
         {{"A", -2147483647 - 1}, {"B", 2147483647}}},
        {"lines without equals are never read as numbers", "99999999999\r\nA=1", {}, CommandFileStatus::Ok, {{"A", 1}}},
    });
}

// Line ends and equals signs are looked for several bytes at a time: they must be found at every
// place in a line, next to the bytes that differ from them in one bit, and after high bytes.
TEST(ParseCommandFile, FindsLineEndsAndEqualsAtEveryPlace) {
    const std::string fillers[] = {"x", "<", ">", "\x0c", "\x0e", "\xbd", "\x8d", "\xff", "\x01"};
    for (const std::string& filler : fillers) {
        for (size_t nameLength = 0; nameLength < 18; ++nameLength) {
            for (size_t commentLength : {size_t{0}, size_t{1}, size_t{7}, size_t{16}}) {
                std::string file;
                Table expected;
                std::string name;
                for (size_t i = 0; i < nameLength; ++i) name += i % 2 ? filler : std::string("n");
                // Lines of every length, so that both signs fall on every place of a word.
                for (int32_t n = 1; n <= 9; ++n) {
                    const std::string lineName = name + std::string(static_cast<size_t>(n), 'a');
                    file += lineName + "=" + std::to_string(n) + ";" + std::string(commentLength, filler[0]) + "=\r\n";
                    expected.push_back({lineName, n});
                }
                file += name + "\r\n" + name;  // lines without an equals sign
                SCOPED_TRACE("filler " + std::to_string(static_cast<unsigned char>(filler[0])) + ", name length " +
                             std::to_string(nameLength) + ", comment length " + std::to_string(commentLength));
                Table table;
                EXPECT_EQ(ParseCommandFile(file, table), CommandFileStatus::Ok);
                EXPECT_EQ(table, expected);
                CommandFileStatus status = CommandFileStatus::Overflow;
                EXPECT_EQ(ByPosition(file, status), expected);
                EXPECT_EQ(status, CommandFileStatus::Ok);
            }
        }
    }
}

TEST(CollectCommandNames, PutsTheNamesTogetherInOrder) {
    const std::string file = "[S]\r\n  First = 1 ;one\r\nZero=0\r\n;x=y\r\nSecond=2\r\nLast=0";
    std::vector<CommandEntryAt> at;
    ASSERT_EQ(ParseCommandFile(file, at), CommandFileStatus::Ok);
    EXPECT_EQ(at, (std::vector<CommandEntryAt>{{7, 5, 1}, {37, 6, 2}, {47, 4, 0}}));
    EXPECT_EQ(CollectCommandNames(file, at), "FirstSecondLast");
    EXPECT_EQ(at, (std::vector<CommandEntryAt>{{0, 5, 1}, {5, 6, 2}, {11, 4, 0}}));

    std::vector<CommandEntryAt> none;
    EXPECT_EQ(CollectCommandNames("no defining line", none), "");
}

}  // namespace
}  // namespace ombrisk
