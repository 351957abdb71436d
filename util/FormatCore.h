// The parts of the format-string language that FormatAny handles itself rather than through the
// platform's formatting service: reading a format string's kind, week numbers (weeks start on
// Sunday, week 1 holds 1 January), the date tokens ww and c, the named format Medium Date, and
// string formats (@ & < > !). Portable: no platform calls; UTF-16 as char16_t.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// What the first section of a format string formats. Named formats are reported as such.
enum class FormatKind {
    General,      // empty format
    NamedNumber,  // General Number, Currency, Fixed, Standard, Percent, Scientific, Yes/No, True/False, On/Off
    NamedDate,    // General Date, Long/Medium/Short Date, Long/Medium/Short Time
    Number,       // digit placeholders 0 #, no date or string tokens
    DateTime,     // date or time tokens (d m y h n s w q t c, AM/PM markers)
    String,       // character placeholders @ or &
    Literal,      // none of the above (only literal text or < > !)
};

FormatKind ClassifyFormat(std::u16string_view format);

// An upper bound of the length of the text the platform's formatting service writes for a value
// under a non-empty format, when the value's integer part has integerDigits digits (0 for a
// value that is not a number) and the user's decimal and thousands separators are at most
// separatorWidth characters long. Generous where the user's settings decide: month and day
// names count 32 characters, a long date 64, date and time separators 4. A section with an
// exponent writes few digits however large the value.
size_t FormattedLengthBound(std::u16string_view format, int integerDigits, size_t separatorWidth);

// The user-defined equivalent of a named format that is formatted here ("Medium Date" gives
// dd-mmm-yy); empty for every other format.
std::u16string_view NamedFormatReplacement(std::u16string_view format);

// Week of the year of an automation date (days since 30 December 1899; a negative date's fraction
// is its time of day): weeks start on Sunday and week 1 is the week of 1 January, so 1..54.
int WeekOfYear(double date);

// True when the format has a ww or c token outside quotes and escapes.
bool HasComputedDateTokens(std::u16string_view format);

// The format with every ww token replaced by the week number of date as quoted text, and every
// c token by ddddd and/or ttttt (the date part only when date has a day, the time part only
// when it has a time; ttttt for the zero date). Quotes and escapes are kept as they were.
std::u16string RewriteDateFormat(std::u16string_view format, double date);

// A string format applied to text. The first section formats a non-empty text, the second (when
// there is one) an empty text or Null. Placeholders: @ shows a character or a space, & a character
// or nothing; they are filled from right to left, or left to right after a !; characters left over
// stand before the first placeholder (after the last one with !). < and > force lower or upper
// case of the text, through lower/upper (null: ASCII only).
std::u16string FormatText(std::u16string_view text, bool nullOrEmpty, std::u16string_view format,
                          char16_t (*lower)(char16_t) = nullptr, char16_t (*upper)(char16_t) = nullptr);

}  // namespace ombrisk
