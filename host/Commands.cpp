#include "host/Commands.h"

#include "core/CommandFile.h"
#include "core/CopyData.h"
#include "host/HostWindow.h"
#include "platform/Error.h"
#include "platform/Messages.h"
#include "platform/Raii.h"
#include "platform/ReplyWindow.h"
#include "platform/Text.h"

#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace ombrisk {

namespace {

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    for (DWORD got = 0; ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0;) bytes.append(chunk, got);
    return bytes;
}

}  // namespace

bool LoadIncFile(CommandTable& table, const std::wstring& path, bool raiseOverflow) {
    const std::optional<std::string> file = ReadWholeFile(path);
    if (!file) return false;
    const std::string_view bytes = *file;
    if (bytes.size() > UINT32_MAX) throw std::bad_alloc();
    // Parsed into an empty table: an empty result with no overflow means the file had no
    // defining line, and the old table stays. The names are then copied out together.
    std::vector<CommandEntryAt> entries;
    const CommandFileStatus status = ParseCommandFile(bytes, entries);
    if (!entries.empty() || status == CommandFileStatus::Overflow) {
        table.names_ = CollectCommandNames(bytes, entries);
        table.entries_ = std::move(entries);
    }
    if (status == CommandFileStatus::Overflow && raiseOverflow) throw Error(ErrorKind::Overflow);
    return true;
}

int32_t CommandTable::Find(std::wstring_view name) const {
    // The table keeps the file's ANSI bytes: each name is widened as it is compared.
    std::wstring entryName;
    for (const CommandEntryAt& e : entries_) {
        entryName.clear();
        AppendFromAnsi(entryName, std::string_view(names_).substr(e.offset, e.length));
        if (EqualsIgnoringCase(name, entryName)) return e.number;
    }
    return 0;
}

std::optional<LRESULT> DeliverCommand(HWND host, WPARAM command, bool send, UINT timeoutMs) noexcept {
    if (send) return SendWithin(host, kHostCommandMessage, command, 0, timeoutMs);
    if (!PostMessageA(host, kHostCommandMessage, command, 0)) return std::nullopt;
    return LRESULT{1};
}

bool SendCommand(HWND host, int32_t number, bool waitIt, const Pause& pause) {
    // The host may work on a sent command for minutes (a dialog it opens stays open until the
    // user closes it), so there is no time limit; a host that stops pumping its messages (hung)
    // ends the wait, and that counts as a zero result. INFINITE, not 0: on Windows a time-out of
    // 0 is no wait at all (Wine alone reads it as no limit).
    const std::optional<LRESULT> r =
        DeliverCommand(host, static_cast<WPARAM>(static_cast<uint32_t>(number)), waitIt, INFINITE);
    pause.Wait();
    return r.value_or(0) != 0;
}

bool UserCmd(const std::wstring& name, const Pause& pause) {
    if (name.empty()) return false;
    HWND host = FindHostWindow();
    if (!host) return false;
    const CopyDataPayload payload = BuildEmPayload(ToAnsi(name));
    const std::optional<LRESULT> r = SendCopyDataRequest(host, kCopyDataEM, payload.buffer.data(), payload.cbData);
    pause.Wait(2);
    return r == LRESULT{0};
}

}  // namespace ombrisk
