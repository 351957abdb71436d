// The one place where failures become HRESULTs with automation error information.
// Member code throws ScriptError (or lets std::bad_alloc escape); the noexcept shim Guarded()
// catches it, records IErrorInfo for the calling thread and returns the HRESULT, which the
// dispatcher turns into EXCEPINFO. Scripts then see the usual VBScript error numbers.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

// VBScript run-time error numbers the library raises.
enum class VbError : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    ArgumentNotOptional = 449,
    WrongArgumentCount = 450,
    InvalidUseOfNull = 94,
};

// HRESULT a script sees for a VBScript error number (facility "control", as scripts expect).
constexpr HRESULT VbHresult(int number) {
    return static_cast<HRESULT>(0x800A0000u | static_cast<unsigned>(number & 0xFFFF));
}

// A failure to report to the script: an HRESULT plus, when known, a description and source.
struct ScriptError {
    HRESULT hr;
    std::wstring description;  // empty: the standard text of hr
    std::wstring source;       // empty: the library's ProgID
    explicit ScriptError(VbError e) : hr(VbHresult(static_cast<int>(e))) {}
    ScriptError(HRESULT h, std::wstring desc = {}, std::wstring src = {})
        : hr(h), description(std::move(desc)), source(std::move(src)) {}
};

// Turns an HRESULT from an automation conversion (VariantChangeType and friends) into the
// error a script expects: DISP_E_TYPEMISMATCH -> 13, DISP_E_OVERFLOW -> 6, and so on.
[[noreturn]] void ThrowConversionError(HRESULT hr);

// The script error a failed IDispatch::Invoke stands for: the dispatcher's argument errors
// (type mismatch, overflow, argument not optional, wrong number of arguments) and the library's
// own errors map to a script error HRESULT; anything else gives S_OK (pass hr on unchanged).
HRESULT ScriptErrorForDispatchFailure(HRESULT hr) noexcept;

// Records error information for hr on this thread and returns hr. The description is the
// given one or the standard text for hr.
HRESULT SetScriptError(HRESULT hr, const std::wstring& description = {}, const std::wstring& source = {}) noexcept;

// Standard description of an HRESULT the library raises ("Type mismatch", ...).
std::wstring DescribeHresult(HRESULT hr);

// Runs body (which returns HRESULT) and converts every exception into an HRESULT with error
// information. An exception never crosses the COM boundary.
template <typename F>
HRESULT Guarded(F&& body) noexcept {
    try {
        return body();
    } catch (const ScriptError& e) {
        return SetScriptError(e.hr, e.description, e.source);
    } catch (const std::bad_alloc&) {
        return SetScriptError(VbHresult(static_cast<int>(VbError::OutOfMemory)));
    } catch (...) {
        return SetScriptError(E_UNEXPECTED);
    }
}

}  // namespace ombrisk
