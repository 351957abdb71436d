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

// A file's bytes for as long as this lives. A file on a fixed local drive is mapped: no copy,
// and no fresh memory to fill, which is most of the cost of reading a large file here. Any other
// file is read: a network or removable drive that fails under a mapping would fault where a
// read reports the failure.
class FileBytes {
public:
    FileBytes() = default;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // False when the file cannot be opened.
    bool Open(const std::wstring& path) {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        LARGE_INTEGER size{};
        const bool sized = GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30);
        if (sized && OnFixedDrive(path)) {
            UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
            if (mapping) view_.reset(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
            // The mapping covers the file as it was when the mapping was made, and the file cannot
            // be cut shorter while it exists: a file cut shorter before that is taken at its new size.
            LARGE_INTEGER mapped{};
            if (view_ && GetFileSizeEx(file.get(), &mapped) && mapped.QuadPart <= size.QuadPart) {
                bytes_ = std::string_view(static_cast<const char*>(view_.get()), static_cast<size_t>(mapped.QuadPart));
                return true;
            }
            view_.reset();
        }
        Read(file.get(), sized ? static_cast<size_t>(size.QuadPart) : 0);
        return true;
    }

    std::string_view View() const noexcept { return bytes_; }

private:
    static bool OnFixedDrive(const std::wstring& path) {
        if (path.size() < 3 || path[1] != L':' || (path[2] != L'\\' && path[2] != L'/')) return false;
        const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
        return GetDriveTypeW(root) == DRIVE_FIXED;
    }

    // Straight into a string of the file's size; a file that grows meanwhile, or whose size is
    // unknown, is read on to its end by chunks.
    void Read(HANDLE file, size_t size) {
        read_.resize(size);
        size_t have = 0;
        for (DWORD got = 0; have < read_.size(); have += got)
            if (!ReadFile(file, read_.data() + have, static_cast<DWORD>(read_.size() - have), &got, nullptr) || got == 0)
                break;
        read_.resize(have);
        char chunk[65536];
        for (DWORD got = 0; ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0;) read_.append(chunk, got);
        bytes_ = read_;
    }

    UniqueMappedView view_;
    std::string read_;
    std::string_view bytes_;
};

}  // namespace

bool LoadIncFile(CommandTable& table, const std::wstring& path, bool raiseOverflow) {
    FileBytes file;
    if (!file.Open(path)) return false;
    const std::string_view bytes = file.View();
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
