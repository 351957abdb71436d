#include "host/PanelPaths.h"

#include "host/HostWindow.h"
#include "core/CopyData.h"
#include "platform/modHook.h"
#include "server/Variants.h"
#include "platform/Text.h"

namespace ombrisk {

std::wstring GetHostInfo(const VARIANT& request) {
    HWND host = FindHostWindow();
    if (!host) return {};
    std::wstring upper = ToString(request);
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    const CopyDataPayload payload = BuildGwPayload(ToAnsi(upper));
    const uint32_t before = ReplyCount();
    const bool handled = SendCopyDataRequest(host, kCopyDataGW, payload.buffer.data(), payload.cbData).has_value();
    // Only an answer that arrived while this request was handled belongs to it; a request the
    // host did not finish in time has no answer.
    return handled && ReplyCount() != before ? LastReplyW() : std::wstring();
}

bool SetPanelPaths(const std::wstring& path1, const std::wstring& path2, bool leftRight, bool inNewTab) {
    if (path1.empty() && path2.empty()) return true;
    HWND host = FindHostWindow();
    if (!host) return false;
    const CopyDataPayload payload = BuildCdPayload(AsU16(path1), AsU16(path2), leftRight, inNewTab);
    return SendCopyDataRequest(host, kCopyDataCD, payload.buffer.data(), payload.cbData) == LRESULT{0};
}

bool RunUserCommand(const std::wstring& name, const VARIANT& pause) {
    if (name.empty()) return false;
    HWND host = FindHostWindow();
    if (!host) return false;
    const CopyDataPayload payload = BuildEmPayload(ToAnsi(name));
    const std::optional<LRESULT> r = SendCopyDataRequest(host, kCopyDataEM, payload.buffer.data(), payload.cbData);
    SleepMs(PauseMs(pause, 2));
    return r == LRESULT{0};
}

}  // namespace ombrisk
