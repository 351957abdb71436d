#include "server/Helper.h"

#include "discovery/Discovery.h"
#include "host/IniFilesQuery.h"
#include "core/DiscoveryText.h"
#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/Keystrokes.h"
#include "host/SelectedFiles.h"
#include "host/PanelPaths.h"
#include "host/Separator.h"
#include "platform/modHook.h"
#include "platform/frmIcon.h"
#include "server/Errors.h"
#include "platform/Module.h"
#include "server/TypeInfo.h"
#include "server/Variants.h"
#include "chores/DebugOutput.h"
#include "chores/FormatAny.h"
#include "chores/IniFiles.h"
#include "chores/FileDates.h"
#include "chores/Clipboard.h"
#include "platform/Text.h"
#include "chores/modStartUP.h"

#include <new>

namespace ombrisk {

namespace {

constexpr DISPID kDispidSendCommand = 0x6003000D;

// Objects alive on this thread; the thread's stored answer is freed with the last of them.
thread_local int t_threadObjects = 0;

VARIANT_BOOL ToVariantBool(bool b) noexcept { return b ? VARIANT_TRUE : VARIANT_FALSE; }

HRESULT PutString(VARIANT* out, const std::wstring& text) {
    if (!out) return E_POINTER;
    BSTR b = AllocBstr(text);
    VariantInit(out);
    V_VT(out) = VT_BSTR;
    V_BSTR(out) = b;
    return S_OK;
}

// A VARIANT holding a string, owned by the returned object.
class StringArgument {
public:
    explicit StringArgument(const wchar_t* text) { V_VT(v_.get()) = VT_BSTR; V_BSTR(v_.get()) = AllocBstr(text); }
    const VARIANT& value() const noexcept { return *v_.get(); }

private:
    UniqueVariant v_;
};

// The argument a script passed for parameter index of a call, or null when it passed none.
// Positional arguments arrive in reverse order after the named ones.
const VARIANT* FindArgument(const DISPPARAMS* params, UINT index) noexcept {
    if (!params) return nullptr;
    for (UINT i = 0; i < params->cNamedArgs; ++i)
        if (params->rgdispidNamedArgs && params->rgdispidNamedArgs[i] == static_cast<DISPID>(index)) return &params->rgvarg[i];
    const UINT positional = params->cArgs - params->cNamedArgs;
    if (index < positional) return &params->rgvarg[params->cArgs - 1 - index];
    return nullptr;
}

}  // namespace

HRESULT Helper::Create(REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    return Guarded([&]() -> HRESULT {
        Helper* object = new Helper();
        try {
            object->Initialize();
        } catch (...) {
            object->Release();
            throw;
        }
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    });
}

Helper::Helper() noexcept {
    ModuleAddRef();
    ++t_threadObjects;
}

Helper::~Helper() {
    Terminate();
    if (--t_threadObjects == 0) ReleaseReplyState();
    ModuleRelease();
}

void Helper::Initialize() {
    LoadFrmIcon();
    V_VT(state_.Pause.get()) = VT_I2;
    V_I2(state_.Pause.get()) = 70;
    state_.Wait = false;
    state_.NoArrayReturn = false;
    state_.DebugEnabled = true;
    state_.TCPath = FindTCPath();
    state_.MainINI = FindMainIni(state_.TCPath);
    state_.FTPINI = FindFtpIni(state_.TCPath);
    // A missing or faulty command-definition file never stops the creation.
    LoadCommandTable(state_, ToWide(AddBackslash(AsU16(state_.TCPath))) + L"totalcmd.inc", false);
    BindHostWindow(state_);
}

void Helper::Terminate() noexcept {
    UnloadFrmIcon();
    LockWindowUpdate(nullptr);
    ClosePercentTooltips();
    ::Sleep(100);
    DetachHostInput(state_);
}

// IUnknown ---------------------------------------------------------------------------------

HRESULT Helper::QueryInterface(REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID__Helper)
        *ppv = static_cast<_Helper*>(this);
    else if (riid == IID_IProvideClassInfo)
        *ppv = static_cast<IProvideClassInfo*>(this);
    else if (riid == IID_ISupportErrorInfo)
        *ppv = static_cast<ISupportErrorInfo*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG Helper::AddRef() noexcept { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG Helper::Release() noexcept {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

// IDispatch --------------------------------------------------------------------------------

HRESULT Helper::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = HelperInterfaceInfo() ? 1 : 0;
    return S_OK;
}

HRESULT Helper::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* ti = HelperInterfaceInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    ti->AddRef();
    *info = ti;
    return S_OK;
}

HRESULT Helper::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = HelperInterfaceInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    const bool single = count == 1 && names && names[0] && ids;
    if (single) {
        if (const auto id = names_.Find(AsU16(std::wstring_view(names[0])))) {
            ids[0] = *id;
            return S_OK;
        }
    }
    const HRESULT hr = DispGetIDsOfNames(ti, names, count, ids);
    if (single && hr == S_OK) {
        try {
            names_.Remember(AsU16(std::wstring_view(names[0])), ids[0]);
        } catch (...) {  // not remembered: the next lookup searches again
        }
    }
    return hr;
}

HRESULT Helper::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                       UINT* argErr) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = HelperInterfaceInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    SetErrorInfo(0, nullptr);
    HRESULT hr = S_OK;
    // One argument too many is refused rather than silently dropped.
    const int limit = ArgumentLimit(id, flags);
    if (params && limit >= 0 && params->cArgs > static_cast<UINT>(limit)) {
        hr = DISP_E_BADPARAMCOUNT;
    } else {
        if (id == kDispidSendCommand) {
            const VARIANT* waitIt = FindArgument(params, 1);
            waitItOmitted_ = !waitIt || IsMissing(*waitIt);
        }
        hr = ti->Invoke(static_cast<_Helper*>(this), id, flags, params, result, excep, argErr);
        waitItOmitted_ = false;
    }
    if (!FAILED(hr) || hr == DISP_E_EXCEPTION || !excep) return hr;
    // Argument errors of the dispatcher become script errors with a number and a description,
    // as the member's own failures are: a script engine that does not describe DISP_E codes
    // itself still shows a clear message.
    const HRESULT scriptError = ScriptErrorForDispatchFailure(hr);
    if (scriptError == S_OK) return hr;
    *excep = EXCEPINFO{};
    ComPtr<IErrorInfo> info;
    if (scriptError != hr) SetScriptError(scriptError);
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        info->GetSource(&excep->bstrSource);
        info->GetDescription(&excep->bstrDescription);
    }
    excep->scode = scriptError;
    return DISP_E_EXCEPTION;
}

HRESULT Helper::GetClassInfo(ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    ITypeInfo* ti = HelperClassInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    ti->AddRef();
    *info = ti;
    return S_OK;
}

HRESULT Helper::InterfaceSupportsErrorInfo(REFIID riid) noexcept {
    return (riid == IID__Helper || riid == IID_IDispatch) ? S_OK : S_FALSE;
}

// Settings ---------------------------------------------------------------------------------

HRESULT Helper::get_Pause(VARIANT* value) noexcept {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Guarded([&] { return VariantCopy(value, state_.Pause.get()); });
}

HRESULT Helper::put_Pause(VARIANT value) noexcept {
    return Guarded([&]() -> HRESULT {
        const int sign = CompareWithZero(value);  // throws 13 for text that is not a number
        if (sign < 0) {
            VARIANT* p = state_.Pause.put();
            V_VT(p) = VT_I2;
            V_I2(p) = 0;
            return S_OK;
        }
        UniqueVariant copy;
        const HRESULT hr = VariantCopyInd(copy.get(), &value);
        if (FAILED(hr)) return hr;
        state_.Pause = std::move(copy);
        return S_OK;
    });
}

HRESULT Helper::get_Wait(VARIANT_BOOL* value) noexcept {
    if (!value) return E_POINTER;
    *value = ToVariantBool(state_.Wait);
    return S_OK;
}

HRESULT Helper::put_Wait(VARIANT_BOOL value) noexcept {
    state_.Wait = value != VARIANT_FALSE;
    return S_OK;
}

HRESULT Helper::get_NoArrayReturn(VARIANT_BOOL* value) noexcept {
    if (!value) return E_POINTER;
    *value = ToVariantBool(state_.NoArrayReturn);
    return S_OK;
}

HRESULT Helper::put_NoArrayReturn(VARIANT_BOOL value) noexcept {
    state_.NoArrayReturn = value != VARIANT_FALSE;
    return S_OK;
}

HRESULT Helper::Sleep(LONG Miliseconds) noexcept {
    SleepMs(Miliseconds);
    return S_OK;
}

HRESULT Helper::About() noexcept {
    ShowAbout();
    return S_OK;
}

HRESULT Helper::DbgPrint(BSTR DebugString) noexcept {
    return Guarded([&] {
        DebugPrint(BstrView(DebugString), state_.DebugEnabled);
        return S_OK;
    });
}

// Host window and commands -----------------------------------------------------------------

HRESULT Helper::get_IsRunningTC(VARIANT_BOOL* value) noexcept {
    if (!value) return E_POINTER;
    *value = ToVariantBool(FindHostWindow() != nullptr);
    return S_OK;
}

HRESULT Helper::LockTC(VARIANT_BOOL LockWindow, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    *result = ToVariantBool(LockHostWindow(LockWindow != VARIANT_FALSE));
    return S_OK;
}

HRESULT Helper::SendCommand(VARIANT cmd, VARIANT_BOOL WaitIt, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    const bool waitIt = waitItOmitted_ ? state_.Wait : WaitIt != VARIANT_FALSE;
    return Guarded([&] {
        *result = ToVariantBool(SendHostCommand(state_, cmd, waitIt));
        return S_OK;
    });
}

HRESULT Helper::LoadIncFile(BSTR FilePathName, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guarded([&] {
        *result = ToVariantBool(LoadCommandTable(state_, std::wstring(BstrView(FilePathName)), true));
        return S_OK;
    });
}

HRESULT Helper::UserCmd(BSTR CmdName, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guarded([&] {
        *result = ToVariantBool(RunUserCommand(std::wstring(BstrView(CmdName)), *state_.Pause.get()));
        return S_OK;
    });
}

// Panel paths and information ---------------------------------------------------------------

HRESULT Helper::GetInfo(VARIANT* Request, VARIANT* result) noexcept {
    if (!Request) return E_POINTER;
    return Guarded([&] { return PutString(result, GetHostInfo(*Request)); });
}

HRESULT Helper::GetSrcPath(VARIANT* result) noexcept {
    return Guarded([&] { return PutString(result, GetHostInfo(StringArgument(L"SP").value())); });
}

HRESULT Helper::GetTrgPath(VARIANT* result) noexcept {
    return Guarded([&] { return PutString(result, GetHostInfo(StringArgument(L"TP").value())); });
}

HRESULT Helper::SetSrcPath(BSTR SrcPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return SetPaths(BstrView(SrcPath), {}, false, InNewTab, result);
}

HRESULT Helper::SetTrgPath(BSTR TrgPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return SetPaths({}, BstrView(TrgPath), false, InNewTab, result);
}

HRESULT Helper::SetLeftPath(BSTR SrcPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return SetPaths(BstrView(SrcPath), {}, true, InNewTab, result);
}

HRESULT Helper::SetRightPath(BSTR TrgPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept {
    return SetPaths({}, BstrView(TrgPath), true, InNewTab, result);
}

HRESULT Helper::SetPaths(std::wstring_view path1, std::wstring_view path2, bool leftRight, VARIANT_BOOL inNewTab,
                         VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guarded([&] {
        *result = ToVariantBool(
            SetPanelPaths(std::wstring(path1), std::wstring(path2), leftRight, inNewTab != VARIANT_FALSE));
        return S_OK;
    });
}

// Installation paths -----------------------------------------------------------------------

HRESULT Helper::put_TCPath(VARIANT value) noexcept {
    return Guarded([&] {
        state_.TCPath = ToString(value);
        return S_OK;
    });
}

HRESULT Helper::get_TCPath(VARIANT* value) noexcept {
    return Guarded([&] { return PutString(value, state_.TCPath); });
}

HRESULT Helper::get_MainINI(VARIANT* value) noexcept {
    return Guarded([&] { return PutString(value, state_.MainINI); });
}

HRESULT Helper::get_FTPINI(VARIANT* value) noexcept {
    return Guarded([&] { return PutString(value, state_.FTPINI); });
}

// Clipboard ----------------------------------------------------------------------------------

HRESULT Helper::GetTextFromClip(BSTR* result) noexcept {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guarded([&] {
        *result = AllocBstr(ReadClipboardText());
        return S_OK;
    });
}

HRESULT Helper::SetTextToClip(BSTR TextToPut, VARIANT* result) noexcept {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        WriteClipboardText(FrmIconHwnd(), BstrView(TextToPut));
        return S_OK;
    });
}

HRESULT Helper::ClearClip(VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    return Guarded([&] {
        *result = ToVariantBool(ClearClipboard(FrmIconHwnd()));
        SleepMs(PauseMs(*state_.Pause.get(), 3));
        return S_OK;
    });
}

// INI files ----------------------------------------------------------------------------------

HRESULT Helper::INIRead(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT Default, VARIANT* result) noexcept {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        IniRead(FileName, Section, Key, Default, state_.NoArrayReturn, result);
        return S_OK;
    });
}

HRESULT Helper::INIReadSection(VARIANT FileName, VARIANT Section, VARIANT* result) noexcept {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        IniReadSection(FileName, Section, result);
        return S_OK;
    });
}

HRESULT Helper::INIWrite(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT Value, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guarded([&] {
        *result = ToVariantBool(IniWrite(FileName, Section, Key, Value));
        return S_OK;
    });
}

HRESULT Helper::INIWriteSection(VARIANT FileName, VARIANT Section, VARIANT KeysAndValues, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guarded([&] {
        *result = ToVariantBool(IniWriteSection(FileName, Section, KeysAndValues));
        return S_OK;
    });
}

HRESULT Helper::INISectionExists(VARIANT FileName, VARIANT Section, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guarded([&] {
        *result = ToVariantBool(IniSectionExists(FileName, Section));
        return S_OK;
    });
}

HRESULT Helper::INIDelete(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guarded([&] {
        *result = ToVariantBool(IniDelete(FileName, Section, Key));
        return S_OK;
    });
}

// File dates and formatting --------------------------------------------------------------------

HRESULT Helper::SetFileDateAtr(VARIANT* File, VARIANT* DateCreated, VARIANT* DateLastModified, VARIANT* DateLastAccessed,
                               VARIANT* Attributes, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    *result = ToVariantBool(ombrisk::SetFileDateAtr(File, DateCreated, DateLastModified, DateLastAccessed, Attributes));
    return S_OK;
}

HRESULT Helper::FormatAny(VARIANT Expression, VARIANT FormatString, VARIANT* result) noexcept {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        FormatAnyValue(Expression, FormatString, result);
        return S_OK;
    });
}

// Window work on the host ----------------------------------------------------------------------

HRESULT Helper::get_Separator(VARIANT* value) noexcept {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Guarded([&] {
        GetSeparator(state_, value);
        return S_OK;
    });
}

HRESULT Helper::put_Separator(VARIANT value) noexcept {
    return Guarded([&] {
        SetSeparator(state_, value);
        return S_OK;
    });
}

HRESULT Helper::get_GetFilter(VARIANT LeftOrRight, VARIANT* value) noexcept {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Guarded([&] {
        GetPanelFilter(LeftOrRight, value);
        return S_OK;
    });
}

HRESULT Helper::GetIniFiles(VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    return Guarded([&] {
        *result = ToVariantBool(QueryHostIniFiles(state_));
        return S_OK;
    });
}

// Keystrokes and selected files -----------------------------------------------------------------

HRESULT Helper::SendKeystroke(BSTR Keystroke, VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    return Guarded([&] {
        *result = ToVariantBool(SendKeystrokeToHost(state_, std::wstring(BstrView(Keystroke))));
        return S_OK;
    });
}

HRESULT Helper::GetSrcSelectedFiles(VARIANT_BOOL WithFullPath, VARIANT* result) noexcept {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        GetSelectedFiles(state_, WithFullPath != VARIANT_FALSE, false, result);
        return S_OK;
    });
}

HRESULT Helper::GetTrgSelectedFiles(VARIANT_BOOL WithFullPath, VARIANT* result) noexcept {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        GetSelectedFiles(state_, WithFullPath != VARIANT_FALSE, true, result);
        return S_OK;
    });
}


}  // namespace ombrisk
