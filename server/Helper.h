// The Helper object: the one creatable class of the library, its 43 members. Every member is a
// noexcept shim that converts its arguments, calls the worker of the same name (host/,
// discovery/, chores/) and turns failures into HRESULTs with error information
// (server/ErrorInfo.h). IDispatch and the other interfaces are served by server/HelperDispatch.h. Every [out] value is set
// to its empty value on entry and receives the result last, only when the member succeeded.
#pragma once

#include <windows.h>

#include "host/Commands.h"
#include "host/HostWindow.h"
#include "server/HelperDispatch.h"
#include "server/Settings.h"

#include <string_view>

namespace ombrisk {

class Helper final : public HelperDispatch {
public:
    // Creates an object (runs the creation steps) and returns the requested interface.
    static HRESULT Create(REFIID riid, void** ppv) noexcept;

    // _Helper, in slot order
    HRESULT STDMETHODCALLTYPE get_Separator(VARIANT* value) noexcept override;
    HRESULT STDMETHODCALLTYPE put_Separator(VARIANT value) noexcept override;
    HRESULT STDMETHODCALLTYPE DbgPrint(BSTR DebugString) noexcept override;
    HRESULT STDMETHODCALLTYPE SendKeystroke(BSTR Keystroke, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SendCommand(VARIANT cmd, VARIANT_BOOL WaitIt, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE About() noexcept override;
    HRESULT STDMETHODCALLTYPE get_NoArrayReturn(VARIANT_BOOL* value) noexcept override;
    HRESULT STDMETHODCALLTYPE put_NoArrayReturn(VARIANT_BOOL value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_IsRunningTC(VARIANT_BOOL* value) noexcept override;
    HRESULT STDMETHODCALLTYPE ClearClip(VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTextFromClip(BSTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE UserCmd(BSTR CmdName, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetInfo(VARIANT* Request, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SetSrcPath(BSTR SrcPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SetTrgPath(BSTR TrgPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SetLeftPath(BSTR SrcPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SetRightPath(BSTR TrgPath, VARIANT_BOOL InNewTab, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE Sleep(LONG Miliseconds) noexcept override;
    HRESULT STDMETHODCALLTYPE SetTextToClip(BSTR TextToPut, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetSrcSelectedFiles(VARIANT_BOOL WithFullPath, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTrgSelectedFiles(VARIANT_BOOL WithFullPath, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetSrcPath(VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTrgPath(VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Pause(VARIANT* value) noexcept override;
    HRESULT STDMETHODCALLTYPE put_Pause(VARIANT value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Wait(VARIANT_BOOL* value) noexcept override;
    HRESULT STDMETHODCALLTYPE put_Wait(VARIANT_BOOL value) noexcept override;
    HRESULT STDMETHODCALLTYPE LoadIncFile(BSTR FilePathName, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SetFileDateAtr(VARIANT* File, VARIANT* DateCreated, VARIANT* DateLastModified,
                                             VARIANT* DateLastAccessed, VARIANT* Attributes,
                                             VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE FormatAny(VARIANT Expression, VARIANT FormatString, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE INIRead(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT Default,
                                      VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE INIReadSection(VARIANT FileName, VARIANT Section, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE INIWrite(VARIANT FileName, VARIANT Section, VARIANT Key, VARIANT Value,
                                       VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE INIWriteSection(VARIANT FileName, VARIANT Section, VARIANT KeysAndValues,
                                              VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE INISectionExists(VARIANT FileName, VARIANT Section, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE INIDelete(VARIANT FileName, VARIANT Section, VARIANT Key,
                                        VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE put_TCPath(VARIANT value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_TCPath(VARIANT* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_MainINI(VARIANT* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_FTPINI(VARIANT* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_GetFilter(VARIANT LeftOrRight, VARIANT* value) noexcept override;
    HRESULT STDMETHODCALLTYPE LockTC(VARIANT_BOOL LockWindow, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIniFiles(VARIANT_BOOL* result) noexcept override;

private:
    Helper() noexcept;
    ~Helper() override;
    void Initialize();  // the creation steps after the object exists
    void Terminate() noexcept;
    // The command number a script's SendCommand argument names: a number, or a name looked up in
    // the command table (0 when unknown). Throws 9 for a name without a table.
    int32_t CommandNumber(const VARIANT& cmd) const;
    // SendCommand's WaitIt, left out: the Wait setting.
    std::optional<VARIANT_BOOL> OmittedArgument(DISPID id, UINT index) const noexcept override;

    Settings settings_;
    HostBinding host_;
    CommandTable commands_;
};

}  // namespace ombrisk
