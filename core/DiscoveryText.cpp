#include "core/DiscoveryText.h"

#include "core/AsciiText.h"

#include <cstddef>

namespace ombrisk {
namespace {

constexpr size_t kNone = std::u16string_view::npos;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::u16string_view CommandLineArguments(std::u16string_view commandLine) {
    size_t i = 0;
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        if (commandLine[i] == u'"') quoted = !quoted;
        else if (!quoted && IsBlank(commandLine[i])) break;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

std::u16string SwitchValue(std::u16string_view args, std::u16string_view switchKey) {
    if (switchKey.empty()) return {};
    const size_t at = FindNoCase(args, switchKey);
    if (at == kNone) return {};
    const size_t start = at + switchKey.size();

    if (start < args.size() && args[start] == u'"') {
        const size_t close = args.find(u'"', start + 1);
        if (close == kNone) return {};
        return std::u16string(TrimSpaces(args.substr(start + 1, close - start - 1)));
    }

    // Without a following space the value is cut where the 1-based position 1000 would be.
    constexpr size_t kCutOff = 999;
    const size_t space = args.find(u' ', start);
    size_t count;
    if (space != kNone) {
        count = space - start;
    } else {
        if (start >= kCutOff) return {};
        count = kCutOff - start;
    }
    return std::u16string(TrimSpaces(args.substr(start, count)));
}

std::u16string ExpandIniPath(std::u16string_view value, std::u16string_view tcPath, std::u16string_view userProfile) {
    constexpr std::u16string_view kPlaceholder = u"%USERPROFILE%";
    const size_t at = FindNoCase(value, kPlaceholder);
    if (at != kNone) {
        // The character right after the placeholder is dropped: it is the "\" that
        // AddBackslash already supplies.
        const size_t rest = at + kPlaceholder.size() + 1;
        std::u16string out = AddBackslash(TrimSpaces(userProfile));
        if (rest < value.size()) out.append(value.substr(rest));
        return out;
    }
    if (value.substr(0, 2) == u".\\") {
        std::u16string out = AddBackslash(tcPath);
        out.append(value.substr(2));
        return out;
    }
    return std::u16string(value);
}

std::u16string AddBackslash(std::u16string_view path) {
    std::u16string out(path);
    if (out.empty() || out.back() != u'\\') out.push_back(u'\\');
    return out;
}

}  // namespace ombrisk
