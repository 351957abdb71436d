#include "platform/Text.h"

#include <climits>
#include <new>

namespace ombrisk {

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    if (text.size() > INT_MAX / 4) throw std::bad_alloc();
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(std::string_view text) {
    std::wstring out;
    AppendFromAnsi(out, text);
    return out;
}

void AppendFromAnsi(std::wstring& out, std::string_view text) {
    if (text.empty()) return;
    if (text.size() > INT_MAX / 2) throw std::bad_alloc();
    const size_t at = out.size();
    // Every ANSI code page writes the ASCII characters as themselves: plain ASCII text, such as
    // a command-definition file's names, is widened in place without two conversion calls.
    bool ascii = true;
    for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        out.resize(at + text.size());
        for (size_t i = 0; i < text.size(); ++i) out[at + i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
        return;
    }
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return;
    out.resize(at + static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data() + at, n);
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::wstring UpperCase(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring WindowText(HWND window) {
    if (!window) return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

}  // namespace ombrisk
