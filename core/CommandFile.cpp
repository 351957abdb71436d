#include "core/CommandFile.h"

#include "core/AsciiText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ombrisk {
namespace {

// Walks a number's characters; blanks may stand anywhere inside it and are never part of it.
class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : text_(text) {}

    // The next non-blank character, or '\0' at the end (NUL cannot continue a number either).
    char Peek() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Advance() { ++pos_; }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

    std::string_view text_;
    size_t pos_ = 0;
};

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Characters that may follow digits inside a number: more digits, the point, an exponent and
// the blanks that are skipped anywhere.
bool ContinuesNumber(char c) {
    return IsDecimalDigit(c) || c == '.' || c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == ' ' || c == '\t' ||
           c == '\n';
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    return v < base ? v : -1;
}

// Anything above this is out of range whatever the sign; saturating here keeps the
// arithmetic exact below it without ever overflowing uint64_t.
constexpr uint64_t kSaturated = uint64_t{1} << 40;

uint64_t ReadRadixDigits(NumberScanner& in, int base) {
    uint64_t magnitude = 0;
    for (int d; (d = DigitValue(in.Peek(), base)) >= 0; in.Advance()) {
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (magnitude > kSaturated) magnitude = kSaturated;
    }
    return magnitude;
}

// Reads digits[.digits][(E|D)[sign]digits] and rounds it exactly: no binary floating point, so
// 2050.500000000000000000001 still rounds up. Returns the rounded magnitude, saturated.
uint64_t ReadDecimalRounded(NumberScanner& in) {
    // Significant digits without leading zeros, and the point's place among them (negative
    // when zeros stand between the point and the first significant digit).
    std::string digits;
    int64_t pointPos = 0;
    bool afterPoint = false;
    for (char c = in.Peek();; c = in.Peek()) {
        if (IsDecimalDigit(c)) {
            if (!(digits.empty() && c == '0')) digits.push_back(c);
            else if (afterPoint) --pointPos;  // 0.00x: a leading zero after the point shifts it
            if (!afterPoint && !digits.empty()) ++pointPos;
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
        in.Advance();
    }

    int64_t exponent = 0;
    if (char c = in.Peek(); c == 'E' || c == 'e' || c == 'D' || c == 'd') {
        in.Advance();
        bool negExp = false;
        if (char s = in.Peek(); s == '+' || s == '-') {
            negExp = s == '-';
            in.Advance();
        }
        // Clamped far beyond any value that could still be in range or non-zero.
        constexpr int64_t kExpLimit = int64_t{1} << 40;
        for (char d = in.Peek(); IsDecimalDigit(d); d = in.Peek()) {
            if (exponent < kExpLimit) exponent = exponent * 10 + (d - '0');
            in.Advance();
        }
        if (negExp) exponent = -exponent;
    }

    if (digits.empty()) return 0;  // zero whatever the exponent
    pointPos += exponent;
    if (pointPos > 10) return kSaturated;  // first digit is non-zero, so >= 10^10
    if (pointPos < 0) return 0;            // below 0.1

    uint64_t integer = 0;
    for (int64_t i = 0; i < pointPos; ++i)
        integer = integer * 10 + (i < static_cast<int64_t>(digits.size()) ? digits[i] - '0' : 0);

    const size_t fracStart = static_cast<size_t>(pointPos);
    if (fracStart < digits.size()) {
        const char first = digits[fracStart];
        const bool restNonZero = digits.find_first_not_of('0', fracStart + 1) != std::string::npos;
        const bool roundUp = first > '5' || (first == '5' && (restNonZero || (integer & 1) != 0));
        if (roundUp) ++integer;
    }
    return integer;
}

}  // namespace

NumberStatus ReadCommandNumber(std::string_view text, int32_t& value) {
    // The common form "540;comment": up to nine plain digits ended by a character that can
    // neither continue a number nor be skipped inside one. Read directly; anything else takes
    // the full reading below.
    {
        size_t n = 0;
        int32_t v = 0;
        while (n < text.size() && n < 9 && IsDecimalDigit(text[n])) v = v * 10 + (text[n++] - '0');
        if (n > 0 && (n == text.size() || !ContinuesNumber(text[n]))) {
            value = v;
            return NumberStatus::Ok;
        }
    }
    NumberScanner in(text);
    bool negative = false;
    if (char c = in.Peek(); c == '+' || c == '-') {
        negative = c == '-';
        in.Advance();
    }

    uint64_t magnitude = 0;
    const char c = in.Peek();
    if (c == '&') {
        in.Advance();
        const char prefix = in.Peek();
        if (prefix == 'H' || prefix == 'h') {
            in.Advance();
            magnitude = ReadRadixDigits(in, 16);
        } else if (prefix == 'O' || prefix == 'o') {
            in.Advance();
            magnitude = ReadRadixDigits(in, 8);
        }
    } else if (IsDecimalDigit(c) || c == '.') {
        magnitude = ReadDecimalRounded(in);
    }

    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (magnitude > limit) return NumberStatus::Overflow;
    const int64_t signedValue = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    value = static_cast<int32_t>(signedValue);
    return NumberStatus::Ok;
}

namespace {

void SetName(CommandEntryA& entry, std::string_view file, size_t first, size_t last) {
    entry.name.assign(file.substr(first, last - first));
}
void SetName(CommandEntryAt& entry, std::string_view, size_t first, size_t last) {
    entry.offset = static_cast<uint32_t>(first);
    entry.length = static_cast<uint32_t>(last - first);
}

template <typename Entry>
CommandFileStatus ParseInto(std::string_view fileBytes, std::vector<Entry>& table) {
    size_t count = 0;
    size_t lineStart = 0;
    const char* const bytes = fileBytes.data();
    const size_t size = fileBytes.size();
    while (lineStart < size) {
        // Only CR ends a line (the LF of a CR LF is eaten with it, a lone LF stays in the line),
        // and the line's first "=" makes it a defining line.
        size_t lineEnd = fileBytes.find('\r', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = size;
        size_t eq = fileBytes.substr(lineStart, lineEnd - lineStart).find('=');
        if (eq != std::string_view::npos) eq += lineStart;
        const size_t nameStart = lineStart;
        lineStart = lineEnd + 1;
        if (lineStart < size && bytes[lineStart] == '\n') ++lineStart;
        if (eq == std::string_view::npos) continue;

        // The first defining line drops whatever an earlier file left beyond this index; the
        // entry at count is then there (kept from before, or left by a zero entry) or added.
        if (table.size() > count + 1) table.resize(count + 1);
        else if (table.size() == count) table.emplace_back();

        int32_t number = 0;
        if (ReadCommandNumber(fileBytes.substr(eq + 1, lineEnd - eq - 1), number) == NumberStatus::Overflow) {
            table.resize(count);
            return CommandFileStatus::Overflow;
        }

        // The name, trimmed of spaces on both sides.
        const std::string_view name = TrimSpaces(fileBytes.substr(nameStart, eq - nameStart));
        const size_t first = static_cast<size_t>(name.data() - bytes);

        SetName(table[count], fileBytes, first, first + name.size());
        table[count].number = number;
        if (number != 0) ++count;  // a zero entry is overwritten by the next defining line
    }
    return CommandFileStatus::Ok;
}

}  // namespace

CommandFileStatus ParseCommandFile(std::string_view fileBytes, std::vector<CommandEntryA>& table) {
    return ParseInto(fileBytes, table);
}

CommandFileStatus ParseCommandFile(std::string_view fileBytes, std::vector<CommandEntryAt>& table) {
    return ParseInto(fileBytes, table);
}

std::string CollectCommandNames(std::string_view fileBytes, std::vector<CommandEntryAt>& table) {
    size_t total = 0;
    for (const CommandEntryAt& e : table) total += e.length;
    std::string names;
    names.reserve(total);
    for (CommandEntryAt& e : table) {
        const size_t at = names.size();
        names.append(fileBytes.substr(e.offset, e.length));
        e.offset = static_cast<uint32_t>(at);
    }
    return names;
}

}  // namespace ombrisk
