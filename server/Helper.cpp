#include "server/Helper.h"

#include "chores/Clipboard.h"
#include "chores/DebugOutput.h"
#include "chores/FileDates.h"
#include "chores/FormatAny.h"
#include "chores/IniFiles.h"
#include "host/Tooltips.h"
#include "core/DiscoveryText.h"
#include "discovery/Discovery.h"
#include "host/SettingsFiles.h"
#include "host/Keystrokes.h"
#include "host/PanelPaths.h"
#include "host/PanelQueries.h"
#include "host/SelectedFiles.h"
#include "host/Separator.h"
#include "platform/Module.h"
#include "platform/ReplyWindow.h"
#include "platform/Text.h"
#include "platform/Wait.h"
#include "server/AboutBox.h"
#include "server/ErrorInfo.h"
#include "server/FileObjects.h"
#include "server/MemberArguments.h"
#include "server/MemberShims.h"
#include "server/TypeInfo.h"
#include "server/ListResult.h"
#include "server/Variants.h"

#include <new>

namespace ombrisk {

namespace {

constexpr std::wstring_view kNul(L"\0", 1);

}  // namespace

HRESULT Helper::Create(REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    return Guarded([&]() -> HRESULT {
        ComPtr<Helper> object;
        object.reset(new Helper());  // adopts the first reference; a failed creation releases it
        object->Initialize();
        return object->QueryInterface(riid, ppv);
    });
}

Helper::Helper() noexcept { ModuleAddRef(); }

Helper::~Helper() {
    Terminate();
    ModuleRelease();
}

void Helper::Initialize() {
    ReplyWindow();  // creating an object loads this thread's reply window
    settings_.tcPath = FindTCPath();
    settings_.mainIni = FindMainIni(settings_.tcPath);
    settings_.ftpIni = FindFtpIni(settings_.tcPath);
    // A missing or faulty command-definition file never stops the creation.
    ombrisk::LoadIncFile(commands_, ToWide(AddBackslash(AsU16(settings_.tcPath))) + L"totalcmd.inc", false);
    host_.Bind();
}

void Helper::Terminate() noexcept {
    DestroyReplyWindow();
    LockWindowUpdate(nullptr);
    ClosePercentTooltips();
    WaitMs(100);
    host_.reset();
}

int32_t Helper::CommandNumber(const VARIANT& cmd) const {
    const VARIANT& v = Deref(cmd);
    if (IsNumeric(v)) return ToLong(v);
    if (commands_.empty()) throw Error(ErrorKind::SubscriptOutOfRange);
    if (V_VT(&v) & VT_ARRAY) throw Error(ErrorKind::TypeMismatch);
    // Null names no command: the result is 0.
    if (V_VT(&v) == VT_NULL) return 0;
    return commands_.Find(ToString(v));
}

std::optional<VARIANT_BOOL> Helper::OmittedArgument(DISPID id, UINT index) const noexcept {
    if (id == HelperDispid(L"SendCommand") && index == 1) return settings_.wait ? VARIANT_TRUE : VARIANT_FALSE;
    return std::nullopt;
}

// Settings ---------------------------------------------------------------------------------

HRESULT Helper::get_Pause(VARIANT* value) noexcept {
    return ReturnVariant(value, [&] {
        UniqueVariant copy;
        const HRESULT hr = VariantCopy(copy.get(), settings_.pauseValue.get());
        if (FAILED(hr)) throw Error::FromHresult(hr);
        return copy;
    });
}

HRESULT Helper::put_Pause(VARIANT value) noexcept {
    return Run([&] {
        // Text that is not a number raises 13 here; a negative value is 0.
        if (CompareWithZero(value) < 0) {
            settings_.pauseValue.SetI2(0);
            settings_.pause = Pause::Milliseconds(0);
            return;
        }
        UniqueVariant copy;
        const HRESULT hr = VariantCopyInd(copy.get(), &value);
        if (FAILED(hr)) throw Error::FromHresult(hr);
        Pause pause = ReadPause(*copy.get());
        settings_.pauseValue = std::move(copy);
        settings_.pause = std::move(pause);
    });
}

HRESULT Helper::get_Wait(VARIANT_BOOL* value) noexcept {
    return ReturnBool(value, [&] { return settings_.wait; });
}

HRESULT Helper::put_Wait(VARIANT_BOOL value) noexcept {
    settings_.wait = value != VARIANT_FALSE;
    return S_OK;
}

HRESULT Helper::get_NoArrayReturn(VARIANT_BOOL* value) noexcept {
    return ReturnBool(value, [&] { return settings_.noArrayReturn; });
}

HRESULT Helper::put_NoArrayReturn(VARIANT_BOOL value) noexcept {
    settings_.noArrayReturn = value != VARIANT_FALSE;
    return S_OK;
}

HRESULT Helper::Sleep(LONG Miliseconds) noexcept {
    WaitMs(Miliseconds);
    return S_OK;
}

HRESULT Helper::About() noexcept {
    ShowAboutBox();
    return S_OK;
}

HRESULT Helper::DbgPrint(BSTR DebugString) noexcept {
    return Run([&] { ombrisk::DbgPrint(BstrView(DebugString), settings_.debugEnabled); });
}

// Installation paths -----------------------------------------------------------------------

HRESULT Helper::put_TCPath(VARIANT value) noexcept {
    return Run([&] { settings_.tcPath = ToString(value); });
}

HRESULT Helper::get_TCPath(VARIANT* value) noexcept {
    return ReturnString(value, [&] { return settings_.tcPath; });
}

HRESULT Helper::get_MainINI(VARIANT* value) noexcept {
    return ReturnString(value, [&] { return settings_.mainIni; });
}

HRESULT Helper::get_FTPINI(VARIANT* value) noexcept {
    return ReturnString(value, [&] { return settings_.ftpIni; });
}

// Host window and commands -----------------------------------------------------------------

HRESULT Helper::get_IsRunningTC(VARIANT_BOOL* value) noexcept {
    return ReturnBool(value, [] { return FindHostWindow() != nullptr; });
}

HRESULT Helper::LockTC(VARIANT_BOOL LockWindow, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] { return ombrisk::LockTC(LockWindow != VARIANT_FALSE); });
}

HRESULT Helper::SendCommand(VARIANT cmd, VARIANT_BOOL WaitIt, VARIANT_BOOL* result) noexcept {
    const bool waitIt = WaitIt != VARIANT_FALSE;  // Invoke supplies Wait when the script left it out
    return ReturnBool(result, [&] {
        // The argument is read only once a host runs: without one the result is false whatever it is.
        HWND host = FindHostWindow();
        return host && ombrisk::SendCommand(host, CommandNumber(cmd), waitIt, settings_.pause);
    });
}

HRESULT Helper::LoadIncFile(BSTR FilePathName, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] { return ombrisk::LoadIncFile(commands_, std::wstring(BstrView(FilePathName)), true); });
}

HRESULT Helper::UserCmd(BSTR CmdName, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] { return ombrisk::UserCmd(std::wstring(BstrView(CmdName)), settings_.pause); });
}

HRESULT Helper::SendKeystroke(BSTR Keystroke, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] { return ombrisk::SendKeystroke(BstrView(Keystroke), settings_.pause); });
}

HRESULT Helper::GetIniFiles(VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] {
        std::optional<HostSettingsFiles> files = ombrisk::GetIniFiles(host_);
        if (!files) return false;
        settings_.mainIni = std::move(files->mainIni);
        settings_.ftpIni = std::move(files->ftpIni);
        return true;
    });
}

// Panel paths and information ---------------------------------------------------------------

HRESULT Helper::GetInfo(VARIANT* Request, VARIANT* result) noexcept {
    if (!Request) return E_POINTER;
    return ReturnString(result, [&] {
        // The request is converted only once a host runs: without one the answer is "".
        HWND host = FindHostWindow();
        return host ? ombrisk::GetInfo(host, ToString(*Request)) : std::wstring();
    });
}

HRESULT Helper::GetSrcPath(VARIANT* result) noexcept {
    return ReturnString(result, [] { return ombrisk::GetSrcPath(); });
}

HRESULT Helper::GetTrgPath(VARIANT* result) noexcept {
    return ReturnString(result, [] { return ombrisk::GetTrgPath(); });
}

HRESULT Helper::get_GetFilter(VARIANT LeftOrRight, VARIANT* value) noexcept {
    return ReturnVariant(value, [&] {
        // Empty without a host, whatever the argument.
        UniqueVariant filter;
        if (HWND host = FindHostWindow()) filter.Set(ombrisk::GetFilter(host, ToString(LeftOrRight)));
        return filter;
    });
}

HRESULT Helper::SetSrcPath(BSTR SrcPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result,
                      [&] { return ombrisk::SetSrcPath(std::wstring(BstrView(SrcPath)), InNewTab != VARIANT_FALSE); });
}

HRESULT Helper::SetTrgPath(BSTR TrgPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result,
                      [&] { return ombrisk::SetTrgPath(std::wstring(BstrView(TrgPath)), InNewTab != VARIANT_FALSE); });
}

HRESULT Helper::SetLeftPath(BSTR SrcPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result,
                      [&] { return ombrisk::SetLeftPath(std::wstring(BstrView(SrcPath)), InNewTab != VARIANT_FALSE); });
}

HRESULT Helper::SetRightPath(BSTR TrgPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result,
                      [&] { return ombrisk::SetRightPath(std::wstring(BstrView(TrgPath)), InNewTab != VARIANT_FALSE); });
}

// Selected files and the separator -------------------------------------------------------------

HRESULT Helper::GetSrcSelectedFiles(VARIANT_BOOL WithFullPath, VARIANT* result) noexcept {
    return ReturnVariant(result, [&] {
        const auto names = ombrisk::GetSrcSelectedFiles(WithFullPath != VARIANT_FALSE, settings_.wait, settings_.pause);
        return ListOrEmpty(names, L"\r\n", settings_.noArrayReturn);
    });
}

HRESULT Helper::GetTrgSelectedFiles(VARIANT_BOOL WithFullPath, VARIANT* result) noexcept {
    return ReturnVariant(result, [&] {
        const auto names = ombrisk::GetTrgSelectedFiles(WithFullPath != VARIANT_FALSE, settings_.wait, settings_.pause);
        return ListOrEmpty(names, L"\r\n", settings_.noArrayReturn);
    });
}

HRESULT Helper::get_Separator(VARIANT* value) noexcept {
    return ReturnVariant(value, [&] {
        UniqueVariant percent;
        if (const std::optional<float> p = GetSeparator(host_)) percent.SetR4(*p);
        else percent.SetI2(-1);
        return percent;
    });
}

HRESULT Helper::put_Separator(VARIANT value) noexcept {
    return Run([&] {
        // Null and text that is not a number are refused before the host is made topmost or any
        // button is pressed, so that no button is ever left down.
        if (IsNull(value)) throw Error(ErrorKind::InvalidUseOfNull);
        SetSeparator(host_, ToDouble(value));
    });
}

// Clipboard ----------------------------------------------------------------------------------

HRESULT Helper::GetTextFromClip(BSTR* result) noexcept {
    return ReturnBstr(result, [] { return ombrisk::GetTextFromClip(); });
}

HRESULT Helper::SetTextToClip(BSTR TextToPut, VARIANT* result) noexcept {
    return ReturnVariant(result, [&] {
        ombrisk::SetTextToClip(BstrView(TextToPut));
        return UniqueVariant();  // Empty
    });
}

HRESULT Helper::ClearClip(VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] { return ombrisk::ClearClip(settings_.pause); });
}

// INI files ----------------------------------------------------------------------------------

HRESULT Helper::INIRead(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT Default, VARIANT* result) noexcept {
    return ReturnVariant(result, [&] {
        const std::wstring file = ToString(FileName);
        const std::wstring section = OptionalText(Section);
        const std::wstring key = OptionalText(Key);
        if (!section.empty() && !key.empty()) {
            UniqueVariant value;
            value.Set(ombrisk::INIRead(file, section, key, OptionalText(Default)));
            return value;
        }
        const std::wstring listSection = ListModeName(Section);
        const std::wstring listKey = ListModeName(Key);
        return ListOrEmpty(INIReadNames(file, listSection, listKey), kNul, settings_.noArrayReturn);
    });
}

HRESULT Helper::INIReadSection(VARIANT FileName, VARIANT Section, VARIANT* result) noexcept {
    return ReturnVariant(result, [&] {
        const std::wstring file = ToString(FileName);
        const std::wstring section = ToString(Section);
        UniqueVariant lines;
        if (const auto text = ombrisk::INIReadSection(file, section)) lines.Set(*text);
        return lines;
    });
}

HRESULT Helper::INIWrite(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT Value, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] {
        const std::wstring file = ToString(FileName);
        const std::wstring section = ToString(Section);
        const std::wstring key = ToString(Key);
        const std::wstring value = ToString(Value);
        return ombrisk::INIWrite(file, section, key, value);
    });
}

HRESULT Helper::INIWriteSection(VARIANT FileName, VARIANT Section, VARIANT KeysAndValues, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] {
        const std::wstring file = ToString(FileName);
        const std::wstring section = ToString(Section);
        const std::wstring keysAndValues = ToString(KeysAndValues);
        return ombrisk::INIWriteSection(file, section, keysAndValues);
    });
}

HRESULT Helper::INISectionExists(VARIANT FileName, VARIANT Section, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] {
        const std::wstring file = ToString(FileName);
        const std::wstring section = ToString(Section);
        return ombrisk::INISectionExists(file, section);
    });
}

HRESULT Helper::INIDelete(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] {
        const std::wstring file = ToString(FileName);
        const std::wstring section = ToString(Section);
        const std::wstring key = OptionalText(Key);
        return ombrisk::INIDelete(file, section, key);
    });
}

// File dates and formatting --------------------------------------------------------------------

HRESULT Helper::SetFileDateAtr(VARIANT* File, VARIANT* DateCreated, VARIANT* DateLastModified, VARIANT* DateLastAccessed,
                               VARIANT* Attributes, VARIANT_BOOL* result) noexcept {
    return ReturnBool(result, [&] {
        // Never raises: an argument that cannot be read is skipped, any failure is false. Every
        // value, a file object's properties included, is read before the file is changed.
        const std::wstring path = FilePathOf(File);
        if (path.empty()) return false;
        return ombrisk::SetFileDateAtr(path, FileDateOf(DateCreated, L"DateCreated"),
                                       FileDateOf(DateLastModified, L"DateLastModified"),
                                       FileDateOf(DateLastAccessed, L"DateLastAccessed"), FileAttributesOf(Attributes));
    });
}

HRESULT Helper::FormatAny(VARIANT Expression, VARIANT FormatString, VARIANT* result) noexcept {
    return ReturnVariant(result, [&] {
        UniqueVariant text;
        text.SetBstr(ombrisk::FormatAny(Deref(Expression), FormatText(FormatString)));
        return text;
    });
}

}  // namespace ombrisk
