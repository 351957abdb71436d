#include "chores/Clipboard.h"

#include "platform/Raii.h"
#include "platform/ReplyWindow.h"
#include "platform/Wait.h"
#include "platform/Wine.h"

#include <cwchar>
#include <optional>

namespace ombrisk {

// The first attempt succeeds without any wait in the normal case.
bool OpenClipboardSoon(HWND owner, std::optional<ClipboardOpen>& guard, DWORD limitMs) {
    return WaitUntil(
        [&] {
            guard.emplace(owner);
            if (guard->opened()) return true;
            guard.reset();
            return false;
        },
        static_cast<int32_t>(limitMs));
}

namespace {

// The open clipboard's Unicode text up to its first NUL; nothing when it holds none.
std::optional<std::wstring> OpenClipboardText() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
    // The block belongs to the clipboard: it is locked and read, never freed here.
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block) return std::nullopt;
    GlobalLockGuard lock(block);
    const auto* text = static_cast<const wchar_t*>(lock.get());
    if (!text) return std::nullopt;
    const size_t units = GlobalSize(block) / sizeof(wchar_t);
    // The text ends at its NUL, or at the end of a block that has none.
    return std::wstring(text, wcsnlen(text, units));
}

}  // namespace

std::wstring GetTextFromClip() {
    std::optional<ClipboardOpen> clipboard;
    if (!OpenClipboardSoon(nullptr, clipboard)) return {};
    return OpenClipboardText().value_or(std::wstring());
}

std::optional<std::wstring> TryClipText(HWND opener, bool& opened) {
    const ClipboardOpen clipboard(opener);
    opened = clipboard.opened();
    if (!opened) return std::nullopt;
    return OpenClipboardText();
}

void SetTextToClip(std::wstring_view text) {
    HWND owner = ReplyWindow();
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
    std::optional<ClipboardOpen> clipboard;
    if (!OpenClipboardSoon(ClipboardDataOwner(owner), clipboard)) return;
    if (!EmptyClipboard()) return;
    // Once accepted the block belongs to the system; a refused block is freed by its owner here.
    if (SetClipboardData(CF_UNICODETEXT, block.get())) block.release();
}

bool ClearClip(const Pause& pause) {
    bool cleared = false;
    {
        std::optional<ClipboardOpen> clipboard;
        if (OpenClipboardSoon(ReplyWindow(), clipboard)) cleared = EmptyClipboard() != FALSE;
    }
    pause.Wait(3);
    return cleared;
}

}  // namespace ombrisk
