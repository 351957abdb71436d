#include "util/modUnicode.h"

#include "util/Raii.h"

#include <cwchar>
#include <optional>

namespace ombrisk {

namespace {

constexpr DWORD kRetryStepMs = 10;
constexpr DWORD kRetryLimitMs = 100;

// Opens the clipboard for owner into guard; another program holding it open is waited out
// for up to kRetryLimitMs. The first attempt succeeds without any wait in the normal case.
bool OpenWithRetry(HWND owner, std::optional<ClipboardOpen>& guard) {
    const DWORD start = GetTickCount();
    for (;;) {
        guard.emplace(owner);
        if (guard->opened()) return true;
        guard.reset();
        if (GetTickCount() - start >= kRetryLimitMs) return false;
        Sleep(kRetryStepMs);
    }
}

}  // namespace

std::wstring ReadClipboardText() {
    std::optional<ClipboardOpen> clipboard;
    if (!OpenWithRetry(nullptr, clipboard)) return {};
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return {};
    // The block belongs to the clipboard: it is locked and read, never freed here.
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block) return {};
    GlobalLockGuard lock(block);
    const auto* text = static_cast<const wchar_t*>(lock.get());
    if (!text) return {};
    const size_t units = GlobalSize(block) / sizeof(wchar_t);
    // The text ends at its NUL, or at the end of a block that has none.
    return std::wstring(text, wcsnlen(text, units));
}

void WriteClipboardText(std::wstring_view text) {
    std::optional<ClipboardOpen> clipboard;
    if (!OpenWithRetry(nullptr, clipboard)) return;
    EmptyClipboard();
    if (text.size() > (SIZE_MAX - sizeof(wchar_t)) / sizeof(wchar_t)) return;
    // Zero-filled, so the copy below needs no terminator of its own.
    UniqueHglobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(wchar_t)));
    if (!block) return;
    {
        GlobalLockGuard lock(block.get());
        auto* dest = static_cast<wchar_t*>(lock.get());
        if (!dest) return;
        const size_t upToNul = text.find(L'\0');
        const size_t n = upToNul == std::wstring_view::npos ? text.size() : upToNul;
        if (n > 0) std::wmemcpy(dest, text.data(), n);
    }
    // Once accepted the block belongs to the system; a refused block is freed by its owner here.
    if (SetClipboardData(CF_UNICODETEXT, block.get())) block.release();
}

bool ClearClipboard(HWND owner) {
    std::optional<ClipboardOpen> clipboard;
    if (!OpenWithRetry(owner, clipboard)) return false;
    return EmptyClipboard() != FALSE;
}

}  // namespace ombrisk
