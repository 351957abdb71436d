#include "standin_text.h"

#include <windows.h>

#include <cwchar>

namespace ombrisk::standin {

namespace {

std::wstring decode(UINT codepage, DWORD flags, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(codepage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codepage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string encode(UINT codepage, std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(codepage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codepage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring decode_text_file(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        // UTF-16LE, as the scripting runtime writes a Unicode text file.
        std::wstring out;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            out +=
                static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
        return out;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (bytes.empty()) return {};
    // MB_ERR_INVALID_CHARS makes invalid UTF-8 fail, which is how an ANSI file is told apart.
    std::wstring utf8 = decode(CP_UTF8, MB_ERR_INVALID_CHARS, bytes);
    if (!utf8.empty()) return utf8;
    return decode(CP_ACP, 0, bytes);
}

std::wstring from_ansi(std::string_view bytes) { return decode(CP_ACP, 0, bytes); }

std::string to_utf8(std::wstring_view text) { return encode(CP_UTF8, text); }

std::string to_ansi(std::wstring_view text) { return encode(CP_ACP, text); }

std::string hex_bytes(const void* data, std::size_t size) {
    static constexpr char digits[] = "0123456789ABCDEF";
    const auto* p = static_cast<const unsigned char*>(data);
    std::string out;
    out.reserve(size * 3);
    for (std::size_t i = 0; i < size; ++i) {
        if (i != 0) out += ' ';
        out += digits[p[i] >> 4];
        out += digits[p[i] & 0x0F];
    }
    return out;
}

bool parse_long(std::wstring_view text, long& value) {
    std::wstring s(text);
    if (s.empty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long v = std::wcstol(s.c_str(), &end, 10);
    if (errno != 0 || end == s.c_str() || *end != L'\0') return false;
    value = v;
    return true;
}

}  // namespace ombrisk::standin
