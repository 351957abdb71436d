#include "platform/Messages.h"

namespace ombrisk {

std::optional<LRESULT> SendWithin(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT timeoutMs) noexcept {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, timeoutMs,
                             &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

}  // namespace ombrisk
