#include "host/PanelQueries.h"

#include "core/CopyData.h"
#include "core/PercentTooltip.h"
#include "host/HostWindow.h"
#include "platform/ReplyWindow.h"
#include "platform/Text.h"

#include <optional>

namespace ombrisk {

namespace {

// The panels' path bars: the first "TPathPanel" below the host and the last one after it.
struct PathBars {
    HWND first = nullptr;
    HWND other = nullptr;
};

BOOL CALLBACK FindPathPanelsProc(HWND hwnd, LPARAM lParam) {
    auto& bars = *reinterpret_cast<PathBars*>(lParam);
    char name[256] = {};
    GetClassNameA(hwnd, name, 256);
    if (ContainsNoCase(name, "TPathPanel")) {
        if (!bars.first) bars.first = hwnd;
        else bars.other = hwnd;
    }
    return TRUE;
}

}  // namespace

std::wstring GetInfo(HWND host, std::wstring_view request) {
    const CopyDataPayload payload = BuildGwPayload(ToAnsi(UpperCase(std::wstring(request))));
    std::optional<std::wstring> answer;
    if (!SendCopyDataRequest(host, kCopyDataGW, payload.buffer.data(), payload.cbData, &answer)) return {};
    // Only an answer that arrived while this request was handled belongs to it.
    return answer ? std::move(*answer) : std::wstring();
}

std::wstring GetSrcPath() {
    HWND host = FindHostWindow();
    return host ? GetInfo(host, L"SP") : std::wstring();
}

std::wstring GetTrgPath() {
    HWND host = FindHostWindow();
    return host ? GetInfo(host, L"TP") : std::wstring();
}

std::wstring GetFilter(HWND host, std::wstring_view sideName) {
    PathBars bars;
    EnumChildWindows(host, FindPathPanelsProc, reinterpret_cast<LPARAM>(&bars));
    std::wstring side = UpperCase(std::wstring(sideName));
    HWND leftBar = nullptr, rightBar = nullptr;
    if (bars.first && bars.other) {
        RECT a{}, b{};
        GetWindowRect(bars.first, &a);
        GetWindowRect(bars.other, &b);
        const bool firstIsLeft = a.left != b.left ? a.left < b.left : (a.top != b.top ? a.top < b.top : true);
        leftBar = firstIsLeft ? bars.first : bars.other;
        rightBar = firstIsLeft ? bars.other : bars.first;
    }
    if (side == L"S") side = GetInfo(host, L"A");
    else if (side == L"T") side = GetInfo(host, L"A") == L"L" ? L"R" : L"L";
    std::wstring text, path;
    if (side == L"L") {
        text = WindowText(leftBar);
        path = GetInfo(host, L"LP");
    } else if (side == L"R") {
        text = WindowText(rightBar);
        path = GetInfo(host, L"RP");
    }
    if (!path.empty()) {
        const size_t at = UpperCase(text).find(UpperCase(path));
        if (at != std::wstring::npos) text.erase(at, path.size());
    }
    return text;
}

}  // namespace ombrisk
