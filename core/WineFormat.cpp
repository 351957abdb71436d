#include "core/WineFormat.h"

#include "core/AsciiText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ombrisk {

namespace {

// One piece of a format string: a character that is part of the format language, or text that
// a quote pair or a backslash made literal (source holds it as written, quotes included).
struct Piece {
    bool literal;
    char16_t ch;                 // the character, for a non-literal piece
    std::u16string_view source;  // as written
    std::u16string_view text;    // the literal text, for a literal piece
};

std::vector<Piece> Lex(std::u16string_view format) {
    std::vector<Piece> pieces;
    for (size_t i = 0; i < format.size();) {
        const char16_t c = format[i];
        if (c == u'"') {
            const size_t close = format.find(u'"', i + 1);
            const size_t end = close == std::u16string_view::npos ? format.size() : close + 1;
            const size_t textEnd = close == std::u16string_view::npos ? format.size() : close;
            pieces.push_back({true, 0, format.substr(i, end - i), format.substr(i + 1, textEnd - i - 1)});
            i = end;
        } else if (c == u'\\' && i + 1 < format.size()) {
            pieces.push_back({true, 0, format.substr(i, 2), format.substr(i + 1, 1)});
            i += 2;
        } else {
            pieces.push_back({false, c, format.substr(i, 1), {}});
            ++i;
        }
    }
    return pieces;
}

// The pieces of each section (separated by ; outside quotes).
std::vector<std::vector<Piece>> Sections(std::u16string_view format) {
    std::vector<std::vector<Piece>> sections(1);
    for (const Piece& p : Lex(format)) {
        if (!p.literal && p.ch == u';') sections.emplace_back();
        else sections.back().push_back(p);
    }
    return sections;
}

bool IsDateLetter(char16_t c) {
    switch (AsciiLower(c)) {
    case u'd':
    case u'm':
    case u'y':
    case u'h':
    case u'n':
    case u's':
    case u'w':
    case u'q':
    case u't':
    case u'c':
    case u'a':
    case u'p': return true;
    default: return false;
    }
}

constexpr std::array<std::u16string_view, 9> kNamedNumber = {
    u"General Number", u"Currency", u"Fixed", u"Standard", u"Percent", u"Scientific", u"Yes/No", u"True/False", u"On/Off"};
constexpr std::array<std::u16string_view, 7> kNamedDate = {u"General Date", u"Long Date",   u"Medium Date", u"Short Date",
                                                           u"Long Time",    u"Medium Time", u"Short Time"};

// Days since 1 January 1970 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

int64_t YearFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

constexpr int64_t kAutomationEpoch = -25569;  // 30 December 1899 in days since 1 January 1970

// The day of an automation date: a negative date's fraction is a time of day, not a part of a day.
int64_t DayOf(double date) { return static_cast<int64_t>(std::trunc(date)); }

// Widths in FormattedLengthBound.
constexpr size_t kNameWidth = 32;      // a month or day name, a short date, a long time, a currency
constexpr size_t kLongDateWidth = 64;  // a long date, a general date
constexpr size_t kDateSeparatorWidth = 4;

// Characters written for a run of `run` equal date or time letters c (lower case).
size_t DateRunWidth(char16_t c, size_t run) {
    auto per = [run](size_t width, size_t letters) { return width * ((run + letters - 1) / letters); };
    switch (c) {
    case u'd': return run <= 2 ? 2 : run <= 5 ? kNameWidth : per(kLongDateWidth, 6);
    case u'm': return run <= 2 ? 2 : per(kNameWidth, 4);
    case u'y': return per(4, 4);
    case u'h':
    case u'n':
    case u's': return per(2, 2);
    case u'w': return 2 * run;
    case u't': return per(kNameWidth, 5);
    case u'c': return run * (kLongDateWidth + kNameWidth);
    case u'a':
    case u'p': return run * 16;  // AM/PM designators
    default: return run;
    }
}

// The integer part: every digit, two more for a percent sign's scaling, a separator per three.
size_t IntegerPartWidth(size_t digits, bool percent, bool thousands, size_t separatorWidth) {
    if (percent) digits += 2;
    return digits + (thousands ? (digits + 2) / 3 * separatorWidth : 0);
}

size_t SectionLengthBound(const std::vector<Piece>& section, size_t integerDigits, size_t separatorWidth) {
    size_t total = 4;  // sign and brackets
    bool digits = false, exponent = false, percent = false, thousands = false;
    for (size_t i = 0; i < section.size(); ++i) {
        const Piece& p = section[i];
        if (p.literal) {
            total += p.text.size();
            continue;
        }
        const char16_t c = AsciiLower(p.ch);
        if (IsDateLetter(c)) {
            size_t run = 1;
            while (i + run < section.size() && !section[i + run].literal && AsciiLower(section[i + run].ch) == c) ++run;
            total += DateRunWidth(c, run);
            i += run - 1;
        } else if (c == u'0' || c == u'#') {
            digits = true;
            total += 1;
        } else if (c == u'e' && i + 1 < section.size() && !section[i + 1].literal &&
                   (section[i + 1].ch == u'+' || section[i + 1].ch == u'-')) {
            exponent = true;
            total += 1;
        } else if (c == u',') {
            thousands = true;
        } else if (c == u'.') {
            total += separatorWidth;
        } else if (c == u':' || c == u'/') {
            total += kDateSeparatorWidth;
        } else {
            if (c == u'%') percent = true;
            total += 1;
        }
    }
    if (digits && !exponent) total += IntegerPartWidth(integerDigits, percent, thousands, separatorWidth);
    return total;
}

}  // namespace

size_t FormattedLengthBound(std::u16string_view format, int integerDigits, size_t separatorWidth) {
    const size_t digits = integerDigits > 0 ? static_cast<size_t>(integerDigits) : 0;
    for (std::u16string_view name : kNamedNumber) {
        if (!EqualsNoCase(format, name)) continue;
        // Currency, Fixed, Standard and Percent write every digit of the integer part.
        const bool grouped = name == u"Currency" || name == u"Standard";
        if (grouped || name == u"Fixed" || name == u"Percent")
            return IntegerPartWidth(digits, name == u"Percent", grouped, separatorWidth) + separatorWidth + kNameWidth;
        return kNameWidth;
    }
    for (std::u16string_view name : kNamedDate)
        if (EqualsNoCase(format, name)) return kLongDateWidth + kNameWidth;
    size_t bound = 0;
    for (const std::vector<Piece>& section : Sections(format))
        bound = std::max(bound, SectionLengthBound(section, digits, separatorWidth));
    return bound;
}

FormatKind ClassifyFormat(std::u16string_view format) {
    if (format.empty()) return FormatKind::General;
    for (std::u16string_view name : kNamedNumber)
        if (EqualsNoCase(format, name)) return FormatKind::NamedNumber;
    for (std::u16string_view name : kNamedDate)
        if (EqualsNoCase(format, name)) return FormatKind::NamedDate;
    const std::vector<std::vector<Piece>> sections = Sections(format);
    bool date = false, number = false;
    for (const Piece& p : sections.front()) {
        if (p.literal) continue;
        if (p.ch == u'@' || p.ch == u'&') return FormatKind::String;
        if (IsDateLetter(p.ch)) date = true;
        if (p.ch == u'0' || p.ch == u'#') number = true;
    }
    // Beside digit placeholders, letters are text: "0 sec" writes the number and " sec".
    if (number) return FormatKind::Number;
    if (date) return FormatKind::DateTime;
    return FormatKind::Literal;
}

namespace {

bool HasPiece(const std::vector<Piece>& pieces, char16_t c) {
    return std::any_of(pieces.begin(), pieces.end(), [c](const Piece& p) { return !p.literal && p.ch == c; });
}

bool IsAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

}  // namespace

FormatRoute ChooseFormatRoute(FormatKind kind, std::u16string_view format, const FormatValue& value, bool underWine,
                              bool lengthBoundExceeded) {
    if (!underWine) return FormatRoute::Service;
    switch (kind) {
    case FormatKind::General:
        // Wine writes a Boolean as a number.
        return value.kind == ValueKind::Boolean ? FormatRoute::BooleanText : FormatRoute::Service;
    case FormatKind::NamedDate:
        // Wine writes the long date for Medium Date.
        return NamedFormatReplacement(format).empty() ? FormatRoute::Service : FormatRoute::ReplacementFormat;
    case FormatKind::NamedNumber:
    case FormatKind::Number:
        if (lengthBoundExceeded) return FormatRoute::Refuse;
        // Wine formats Empty as a number without digits (".00") and a date as a date.
        if (value.kind == ValueKind::Empty) return FormatRoute::ServiceWithZero;
        if (value.kind == ValueKind::Date) return FormatRoute::ServiceWithSerial;
        return FormatRoute::Service;
    case FormatKind::DateTime:
        if (lengthBoundExceeded) return FormatRoute::Refuse;
        // Wine's ww ignores the first day of the week and its c writes garbage.
        return HasComputedDateTokens(format) ? FormatRoute::DateTokens : FormatRoute::Service;
    case FormatKind::String: {
        const std::vector<Piece> pieces = Lex(format);
        // Wine ignores !, changes the case of ASCII letters only, writes nothing for Null where a
        // second section is meant for it, and overruns its buffer with a long text.
        const bool changesCase = HasPiece(pieces, u'<') || HasPiece(pieces, u'>');
        if (HasPiece(pieces, u'!') || (changesCase && !IsAscii(value.text)) ||
            (value.kind == ValueKind::Null && HasPiece(pieces, u';')) ||
            value.text.size() + format.size() > kWineServiceTextLimit)
            return FormatRoute::Text;
        return FormatRoute::Service;
    }
    case FormatKind::Literal: {
        const std::vector<Piece> pieces = Lex(format);
        const bool onlyCase = std::all_of(pieces.begin(), pieces.end(), [](const Piece& p) {
            return !p.literal && (p.ch == u'<' || p.ch == u'>' || p.ch == u'!');
        });
        if (onlyCase) {
            // Of < > ! alone Wine makes ! lower the case; the other faults are those of string formats.
            if (value.kind != ValueKind::String) return FormatRoute::Service;
            if (HasPiece(pieces, u'!') || !IsAscii(value.text) || value.text.size() > kWineServiceTextLimit)
                return FormatRoute::Text;
            return FormatRoute::Service;
        }
        // Wine refuses Empty under a literal format.
        if (lengthBoundExceeded) return FormatRoute::Refuse;
        return value.kind == ValueKind::Empty ? FormatRoute::ServiceWithZero : FormatRoute::Service;
    }
    }
    return FormatRoute::Service;
}

std::u16string_view NamedFormatReplacement(std::u16string_view format) {
    if (EqualsNoCase(format, u"Medium Date")) return u"dd-mmm-yy";
    return {};
}

int WeekOfYear(double date) {
    if (!(date > -1e7 && date < 1e7)) return 0;  // far outside the automation date range
    const int64_t days = DayOf(date) + kAutomationEpoch;
    const int64_t jan1 = DaysFromCivil(YearFromDays(days), 1, 1);
    // 1 January 1970 was a Thursday: weekday 4 with Sunday as 0.
    const int64_t weekdayJan1 = ((jan1 % 7) + 7 + 4) % 7;
    return static_cast<int>((days - jan1 + weekdayJan1) / 7 + 1);
}

bool HasComputedDateTokens(std::u16string_view format) {
    const std::vector<Piece> pieces = Lex(format);
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].literal) continue;
        const char16_t c = AsciiLower(pieces[i].ch);
        if (c == u'c') return true;
        if (c == u'w' && i + 1 < pieces.size() && !pieces[i + 1].literal && AsciiLower(pieces[i + 1].ch) == u'w')
            return true;
    }
    return false;
}

std::u16string ExponentWithoutHashes(std::u16string_view format) {
    const std::vector<Piece> pieces = Lex(format);
    std::u16string out;
    bool changed = false;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        out += p.source;
        const bool marker = !p.literal && AsciiLower(p.ch) == u'e' && i + 1 < pieces.size() && !pieces[i + 1].literal &&
                            (pieces[i + 1].ch == u'+' || pieces[i + 1].ch == u'-');
        if (!marker) continue;
        out += pieces[++i].source;
        size_t zeros = 0, hashes = 0;
        while (i + 1 < pieces.size() && !pieces[i + 1].literal && (pieces[i + 1].ch == u'0' || pieces[i + 1].ch == u'#')) {
            ++(pieces[++i].ch == u'0' ? zeros : hashes);
        }
        if (hashes) changed = true;
        out.append(hashes ? std::max<size_t>(zeros, 1) : zeros, u'0');
    }
    return changed ? out : std::u16string();
}

std::u16string RewriteDateFormat(std::u16string_view format, double date) {
    const std::vector<Piece> pieces = Lex(format);
    const double fraction = std::fabs(date - std::trunc(date));
    const bool hasTime = std::llround(fraction * 86400.0) % 86400 != 0;
    const bool hasDay = DayOf(date) != 0;
    std::u16string out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        const char16_t c = p.literal ? 0 : AsciiLower(p.ch);
        if (c == u'w' && i + 1 < pieces.size() && !pieces[i + 1].literal && AsciiLower(pieces[i + 1].ch) == u'w') {
            const std::string digits = std::to_string(WeekOfYear(date));
            out += u'"';
            out.append(digits.begin(), digits.end());
            out += u'"';
            ++i;
        } else if (c == u'c') {
            if (hasDay) out += u"ddddd";
            if (hasDay && hasTime) out += u' ';
            if (hasTime || !hasDay) out += u"ttttt";
        } else {
            out += p.source;
        }
    }
    return out;
}

std::u16string FormatText(std::u16string_view text, bool nullOrEmpty, std::u16string_view format,
                          char16_t (*lower)(char16_t), char16_t (*upper)(char16_t)) {
    if (!lower) lower = &AsciiLower;
    if (!upper) upper = &AsciiUpper;
    const std::vector<std::vector<Piece>> sections = Sections(format);
    const std::vector<Piece>& section = nullOrEmpty && sections.size() > 1 ? sections[1] : sections[0];
    if (nullOrEmpty) text = {};

    char16_t (*changeCase)(char16_t) = nullptr;
    bool leftToRight = false;
    size_t placeholders = 0;
    for (const Piece& p : section) {
        if (p.literal) continue;
        if (p.ch == u'<' && !changeCase) changeCase = lower;
        else if (p.ch == u'>' && !changeCase) changeCase = upper;
        else if (p.ch == u'!') leftToRight = true;
        else if (p.ch == u'@' || p.ch == u'&') ++placeholders;
    }
    std::u16string chars(text);
    if (changeCase)
        for (char16_t& ch : chars) ch = changeCase(ch);

    std::u16string out;
    const size_t length = chars.size();
    // A text that fills every placeholder gives them one character each from the left, and the
    // rest follows at the end. A shorter one is aligned right: placeholder k takes character
    // k + length - placeholders, if there is one; with ! it is aligned left.
    const bool fromLeft = leftToRight || length >= placeholders;
    size_t k = 0;
    for (const Piece& p : section) {
        if (p.literal) {
            out += p.text;
            continue;
        }
        if (p.ch == u'<' || p.ch == u'>' || p.ch == u'!') continue;
        if (p.ch != u'@' && p.ch != u'&') {
            out += p.ch;
            continue;
        }
        const size_t from = fromLeft ? k : k + length;  // the character's index, + placeholders when right-aligned
        const size_t index = fromLeft ? from : from - placeholders;
        if (fromLeft ? from < length : from >= placeholders) out += chars[index];
        else if (p.ch == u'@') out += u' ';
        ++k;
    }
    if (length > placeholders) out.append(chars, placeholders);
    return out;
}

}  // namespace ombrisk
