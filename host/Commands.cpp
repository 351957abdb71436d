#include "host/Commands.h"

#include "host/CommandFile.h"
#include "host/HostWindow.h"
#include "server/Errors.h"
#include "server/Variants.h"
#include "util/Raii.h"
#include "util/Text.h"

#include <cstdint>
#include <new>
#include <optional>

namespace ombrisk {

namespace {

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    // Room for the whole file at once: growing by chunks copies a large file several times.
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30))
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
}

}  // namespace

bool LoadCommandTable(HelperState& state, const std::wstring& path, bool raiseOverflow) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return false;
    // Parsed into an empty table: an empty result with no overflow means the file had no
    // defining line, and the old table stays.
    std::vector<CommandEntryA> parsed;
    const CommandFileStatus status = ParseCommandFile(*bytes, parsed);
    if (!parsed.empty() || status == CommandFileStatus::Overflow) {
        CommandTable table;
        size_t characters = 0;
        for (const CommandEntryA& e : parsed) characters += e.name.size();
        table.names.reserve(characters);  // as many as the ANSI bytes, or fewer
        table.entries.reserve(parsed.size());
        for (const CommandEntryA& e : parsed) {
            const size_t offset = table.names.size();
            AppendFromAnsi(table.names, e.name);
            if (table.names.size() > UINT32_MAX) throw std::bad_alloc();
            table.entries.push_back(CommandEntry{static_cast<uint32_t>(offset), static_cast<uint32_t>(table.names.size() - offset),
                                                 e.number});
        }
        state.CommandTable = std::move(table);
    }
    if (status == CommandFileStatus::Overflow && raiseOverflow) throw ScriptError(VbError::Overflow);
    return true;
}

int32_t ResolveCommand(const HelperState& state, const VARIANT& cmd) {
    const VARIANT& v = Deref(cmd);
    if (IsNumeric(v)) return ToLong(v);
    if (state.CommandTable.empty()) throw ScriptError(VbError::SubscriptOutOfRange);
    if (V_VT(&v) & VT_ARRAY) throw ScriptError(VbError::TypeMismatch);
    // Null equals no name: the loop finds nothing and the result is 0.
    if (V_VT(&v) == VT_NULL) return 0;
    const std::wstring name = ToString(v);
    for (const CommandEntry& e : state.CommandTable.entries) {
        const std::wstring_view entryName = state.CommandTable.Name(e);
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), static_cast<int>(name.size()), entryName.data(),
                           static_cast<int>(entryName.size())) == CSTR_EQUAL)
            return e.Number;
    }
    return 0;
}

bool SendHostCommand(const HelperState& state, const VARIANT& cmd, bool waitIt) {
    HWND host = FindHostWindow();
    if (!host) return false;
    const int32_t number = ResolveCommand(state, cmd);
    const WPARAM wParam = static_cast<WPARAM>(static_cast<uint32_t>(number));
    LRESULT r = 0;
    if (waitIt)
        r = SendMessageA(host, kHostCommandMessage, wParam, 0);
    else
        r = PostMessageA(host, kHostCommandMessage, wParam, 0);
    SleepMs(PauseMs(*state.Pause.get()));
    return r != 0;
}

}  // namespace ombrisk
