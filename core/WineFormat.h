// The parts of the format-string language that FormatAny handles itself where Wine's formatting
// service is wrong, and the choice of where that is: reading a format string's kind, week numbers
// (weeks start on Sunday, week 1 holds 1 January), the date tokens ww and c, the named format
// Medium Date, and string formats (@ & < > !). On Windows every value goes to the service.
// Portable: no platform calls; UTF-16 as char16_t.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// What the first section of a format string formats. Named formats are reported as such.
enum class FormatKind {
    General,      // empty format
    NamedNumber,  // General Number, Currency, Fixed, Standard, Percent, Scientific, Yes/No, True/False, On/Off
    NamedDate,    // General Date, Long/Medium/Short Date, Long/Medium/Short Time
    Number,       // digit placeholders 0 #, no string tokens (letters beside them are text)
    DateTime,     // date or time tokens (d m y h n s w q t c, AM/PM markers), no digit placeholders
    String,       // character placeholders @ or &
    Literal,      // none of the above (only literal text or < > !)
};

FormatKind ClassifyFormat(std::u16string_view format);

// The longest text the service is trusted with under Wine, which builds it in a buffer of 256
// characters and writes past the end when it is longer.
constexpr size_t kWineServiceTextLimit = 255;

// What the value to format is, as far as the choice of route goes.
enum class ValueKind { Empty, Null, Boolean, Number, Date, String, Other };

struct FormatValue {
    ValueKind kind = ValueKind::Other;
    std::u16string_view text;  // a string's text (String only)
};

// How one value is formatted under one format.
enum class FormatRoute {
    Service,            // the platform's service with the value and format as given
    BooleanText,        // the text True or False
    ReplacementFormat,  // the service with NamedFormatReplacement(format)
    ServiceWithZero,    // the service with Empty as the number 0
    ServiceWithSerial,  // the service with a date as its serial number
    DateTokens,         // the service with ww and c rewritten for the date (RewriteDateFormat)
    Text,               // FormatText here, with the value's text in the general format
    Refuse,             // refused: the service's text could be too long for Wine's buffer
};

// The route for value under format (whose kind is kind). Off Wine (underWine false) it is always
// the service. Under Wine our own code stands in where Wine's service is wrong or would overrun
// its buffer; lengthBoundExceeded tells whether FormattedLengthBound for the value exceeds
// kWineServiceTextLimit (it is consulted for formats other than string formats only). For a
// string format (@ &), value.text must hold the value's text in the general format.
FormatRoute ChooseFormatRoute(FormatKind kind, std::u16string_view format, const FormatValue& value, bool underWine,
                              bool lengthBoundExceeded);

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

// For Wine, a number format whose exponent digits include #: every exponent's run of 0 and #
// placeholders becomes as many 0 as it holds (at least one), which writes the same digits for
// an exponent other than 0. Wine misreads such a run (and rounds the mantissa wrongly with it).
// Empty when the format has no such run.
std::u16string ExponentWithoutHashes(std::u16string_view format);

// The format with every ww token replaced by the week number of date as quoted text, and every
// c token by ddddd and/or ttttt (the date part only when date has a day, the time part only
// when it has a time; ttttt for the zero date). Quotes and escapes are kept as they were.
std::u16string RewriteDateFormat(std::u16string_view format, double date);

// A string format applied to text. The first section formats a non-empty text, the second (when
// there is one) an empty text or Null. Placeholders: @ shows a character or a space, & a character
// or nothing. A text shorter than the placeholders fills them from the right (from the left after
// a !); a longer one fills them one character each from the left, and the characters left over
// follow at the end, after any text behind the last placeholder. < and > force lower or upper
// case of the text, the first of them to appear counting, through lower/upper (null: ASCII only).
std::u16string FormatText(std::u16string_view text, bool nullOrEmpty, std::u16string_view format,
                          char16_t (*lower)(char16_t) = nullptr, char16_t (*upper)(char16_t) = nullptr);

}  // namespace ombrisk
