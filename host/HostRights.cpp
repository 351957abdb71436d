#include "host/HostRights.h"

#include "host/HostWindow.h"
#include "platform/Raii.h"

#include <vector>

namespace ombrisk {

std::optional<uint32_t> IntegrityLevelOf(HWND window) noexcept {
    UniqueHandle process;
    if (window) {
        DWORD pid = 0;
        if (!GetWindowThreadProcessId(window, &pid)) return std::nullopt;
        process.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        if (!process) return std::nullopt;
    }
    UniqueHandle token;
    if (!OpenProcessToken(window ? process.get() : GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::nullopt;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
    std::vector<unsigned char> buffer;
    try {
        buffer.resize(size);
    } catch (...) {
        return std::nullopt;
    }
    if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    if (!sid || !IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0) return std::nullopt;
    return static_cast<uint32_t>(*GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u));
}

RightsGap HostRightsGap() noexcept { return HostRightsGap(FindHostWindow()); }

RightsGap HostRightsGap(HWND host) noexcept {
    if (!host) return RightsGap::Unknown;
    return CompareIntegrity(IntegrityLevelOf(nullptr), IntegrityLevelOf(host));
}

}  // namespace ombrisk
