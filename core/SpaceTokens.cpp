#include "core/SpaceTokens.h"

#include "core/AsciiText.h"

#include <cstddef>
#include <string_view>
#include <utility>

namespace ombrisk {
namespace {

constexpr size_t kNone = std::u16string_view::npos;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Every non-overlapping occurrence, left to right; inserted text is not searched again.
void ReplaceAllNoCase(std::u16string& s, std::u16string_view find, std::u16string_view with) {
    size_t at = FindNoCase(s, find);
    if (at == kNone) return;
    std::u16string out;
    size_t from = 0;
    for (; at != kNone; at = FindNoCase(s, find, from)) {
        out.append(s, from, at - from).append(with);
        from = at + find.size();
    }
    out.append(s, from);
    s = std::move(out);
}

bool ReplaceFirstNoCase(std::u16string& s, std::u16string_view find, std::u16string_view with) {
    const size_t at = FindNoCase(s, find);
    if (at == kNone) return false;
    s.replace(at, find.size(), with);
    return true;
}

// `word` followed by exactly `digits` ASCII digits and "}", anywhere in s.
bool ContainsCountToken(std::u16string_view s, std::u16string_view word, size_t digits) {
    for (size_t at = FindNoCase(s, word); at != kNone; at = FindNoCase(s, word, at + 1)) {
        const size_t d = at + word.size();
        if (d + digits >= s.size()) return false;  // later occurrences are shorter still
        size_t k = 0;
        while (k < digits && IsDigit(s[d + k])) ++k;
        if (k == digits && s[d + digits] == u'}') return true;
    }
    return false;
}

// The number two characters begin with, read as script number reading does: blanks (space,
// tab, LF) are skipped, a sign may lead, the digits that follow are the value.
int LeadingNumber(std::u16string_view two) {
    int sign = 1, value = 0;
    bool started = false;
    for (char16_t c : two) {
        if (c == u' ' || c == u'\t' || c == u'\n') continue;
        if (!started && (c == u'-' || c == u'+')) {
            started = true;
            if (c == u'-') sign = -1;
            continue;
        }
        if (!IsDigit(c)) break;
        started = true;
        value = value * 10 + (c - u'0');
    }
    return sign * value;
}

// One count rule; false when it changed nothing or the count was negative.
bool ApplyCountRule(std::u16string& s, std::u16string_view word, size_t digits, SpaceTokenStatus& status) {
    if (!ContainsCountToken(s, word, digits)) return false;
    // The token found above may not be the first occurrence of the word: the count comes from
    // whatever follows the first one, exactly as the rule says, and may name no token at all.
    const size_t first = FindNoCase(s, word);
    const std::u16string taken = s.substr(first + word.size(), digits);
    const int count = digits == 1 ? (IsDigit(taken[0]) ? taken[0] - u'0' : 0) : LeadingNumber(taken);
    if (count < 0) {
        status = SpaceTokenStatus::NegativeCount;
        return false;
    }
    std::u16string token(word);
    token.append(taken).push_back(u'}');
    return ReplaceFirstNoCase(s, token, std::u16string(size_t(count), u' '));
}

}  // namespace

bool SpaceTokenPass(std::u16string& keys, SpaceTokenStatus& status) {
    static constexpr struct {
        std::u16string_view word;
        size_t digits;
    } kRules[] = {{u"{space ", 1}, {u"{space ", 2}, {u"{sp ", 1}, {u"{sp ", 2}};
    bool changed = false;
    for (const auto& rule : kRules) {
        changed |= ApplyCountRule(keys, rule.word, rule.digits, status);
        if (status != SpaceTokenStatus::Ok) return changed;
    }
    return changed;
}

SpaceTokenStatus ExpandSpaceTokens(std::u16string& keys) {
    ReplaceAllNoCase(keys, u"{space}", u" ");
    ReplaceAllNoCase(keys, u"{sp}", u" ");
    SpaceTokenStatus status = SpaceTokenStatus::Ok;
    while (FindNoCase(keys, u"{sp") != kNone) {
        if (!SpaceTokenPass(keys, status)) break;
        if (status != SpaceTokenStatus::Ok) break;
    }
    return status;
}

}  // namespace ombrisk
