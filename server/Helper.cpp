#include "server/Helper.h"

#include "host/Commands.h"
#include "host/HostWindow.h"
#include "host/reply/frmIcon.h"
#include "server/Errors.h"
#include "server/Module.h"
#include "server/TypeInfo.h"
#include "server/Variants.h"
#include "util/DebugOutput.h"
#include "util/Text.h"
#include "util/modStartUP.h"

#include <new>

namespace ombrisk {

namespace {

constexpr DISPID kDispidSendCommand = 0x6003000D;

VARIANT_BOOL ToVariantBool(bool b) noexcept { return b ? VARIANT_TRUE : VARIANT_FALSE; }

HRESULT NotYet() noexcept { return SetScriptError(E_NOTIMPL, L"Not implemented in this version of Ombrisk"); }

HRESULT PutString(VARIANT* out, const std::wstring& text) {
    if (!out) return E_POINTER;
    BSTR b = AllocBstr(text);
    VariantInit(out);
    V_VT(out) = VT_BSTR;
    V_BSTR(out) = b;
    return S_OK;
}

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

Helper::Helper() noexcept { ModuleAddRef(); }

Helper::~Helper() {
    Terminate();
    ModuleRelease();
}

void Helper::Initialize() {
    LoadFrmIcon();
    V_VT(state_.Pause.get()) = VT_I2;
    V_I2(state_.Pause.get()) = 70;
    state_.Wait = false;
    state_.NoArrayReturn = false;
    state_.DebugEnabled = true;
    // The installation's location is not known yet: the paths stay empty, and the command
    // table is looked for at the root of the current drive.
    LoadCommandTable(state_, state_.TCPath + L"\\totalcmd.inc", false);
    BindHostWindow(state_);
}

void Helper::Terminate() noexcept {
    UnloadFrmIcon();
    LockWindowUpdate(nullptr);
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
    return DispGetIDsOfNames(ti, names, count, ids);
}

HRESULT Helper::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                       UINT* argErr) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* ti = HelperInterfaceInfo();
    if (!ti) return TYPE_E_CANTLOADLIBRARY;
    if (id == kDispidSendCommand) {
        const VARIANT* waitIt = FindArgument(params, 1);
        waitItOmitted_ = !waitIt || IsMissing(*waitIt);
    }
    SetErrorInfo(0, nullptr);
    const HRESULT hr = ti->Invoke(static_cast<_Helper*>(this), id, flags, params, result, excep, argErr);
    waitItOmitted_ = false;
    // Some dispatchers hand back the member's own failure instead of DISP_E_EXCEPTION; the
    // script still gets the error information the member recorded.
    if (FAILED(hr) && hr != DISP_E_EXCEPTION && excep && (static_cast<unsigned>(hr) & 0xFFFF0000u) == 0x800A0000u) {
        ComPtr<IErrorInfo> info;
        *excep = EXCEPINFO{};
        if (GetErrorInfo(0, info.put()) == S_OK && info) {
            info->GetSource(&excep->bstrSource);
            info->GetDescription(&excep->bstrDescription);
        }
        excep->scode = hr;
        return DISP_E_EXCEPTION;
    }
    return hr;
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

HRESULT Helper::UserCmd(BSTR, VARIANT_BOOL*) noexcept { return NotYet(); }

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

// Members that later versions fill in ------------------------------------------------------

HRESULT Helper::get_Separator(VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::put_Separator(VARIANT) noexcept { return NotYet(); }
HRESULT Helper::SendKeystroke(BSTR, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::ClearClip(VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::GetTextFromClip(BSTR*) noexcept { return NotYet(); }
HRESULT Helper::GetInfo(VARIANT*, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::SetSrcPath(BSTR, VARIANT_BOOL, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::SetTrgPath(BSTR, VARIANT_BOOL, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::SetLeftPath(BSTR, VARIANT_BOOL, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::SetRightPath(BSTR, VARIANT_BOOL, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::SetTextToClip(BSTR, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::GetSrcSelectedFiles(VARIANT_BOOL, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::GetTrgSelectedFiles(VARIANT_BOOL, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::GetSrcPath(VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::GetTrgPath(VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::SetFileDateAtr(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::FormatAny(VARIANT, VARIANT, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::INIRead(VARIANT, VARIANT, VARIANT, VARIANT, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::INIReadSection(VARIANT, VARIANT, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::INIWrite(VARIANT, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::INIWriteSection(VARIANT, VARIANT, VARIANT, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::INISectionExists(VARIANT, VARIANT, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::INIDelete(VARIANT, VARIANT, VARIANT, VARIANT_BOOL*) noexcept { return NotYet(); }
HRESULT Helper::get_GetFilter(VARIANT, VARIANT*) noexcept { return NotYet(); }
HRESULT Helper::GetIniFiles(VARIANT_BOOL*) noexcept { return NotYet(); }

}  // namespace ombrisk
