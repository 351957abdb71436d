#include "host/PanelPaths.h"

#include "core/CopyData.h"
#include "host/HostWindow.h"
#include "platform/ReplyWindow.h"
#include "platform/Text.h"

namespace ombrisk {

namespace {

// path1 is the left or source panel's path, path2 the right or target panel's; leftRight false
// names source/target.
bool SetPanelPaths(const std::wstring& path1, const std::wstring& path2, bool leftRight, bool inNewTab) {
    if (path1.empty() && path2.empty()) return true;
    HWND host = FindHostWindow();
    if (!host) return false;
    const CopyDataPayload payload = BuildCdPayload(AsU16(path1), AsU16(path2), leftRight, inNewTab);
    return SendCopyDataRequest(host, kCopyDataCD, payload.buffer.data(), payload.cbData) == LRESULT{0};
}

}  // namespace

bool SetSrcPath(const std::wstring& path, bool inNewTab) { return SetPanelPaths(path, {}, false, inNewTab); }
bool SetTrgPath(const std::wstring& path, bool inNewTab) { return SetPanelPaths({}, path, false, inNewTab); }
bool SetLeftPath(const std::wstring& path, bool inNewTab) { return SetPanelPaths(path, {}, true, inNewTab); }
bool SetRightPath(const std::wstring& path, bool inNewTab) { return SetPanelPaths({}, path, true, inNewTab); }

}  // namespace ombrisk
