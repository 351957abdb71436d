// The failures a member reports to its script. The features throw Error; the automation face
// (server/ErrorInfo.h) turns it into an HRESULT with error information, so scripts see the usual
// VBScript error numbers. Ordinary failures (no host, a missing file) are results, not errors.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

// The script errors the library raises; System stands for a platform failure (an HRESULT).
enum class ErrorKind {
    InvalidProcedureCall,
    Overflow,
    OutOfMemory,
    SubscriptOutOfRange,
    TypeMismatch,
    InvalidUseOfNull,
    ArgumentNotOptional,
    WrongArgumentCount,
    System,
};

class Error {
public:
    // An empty description means the kind's standard text; an empty source the library's ProgID.
    explicit Error(ErrorKind kind, std::wstring description = {}, std::wstring source = {})
        : kind_(kind), description_(std::move(description)), source_(std::move(source)) {}

    // The error a platform failure stands for: a failure of an automation conversion or a script
    // error HRESULT that the table knows becomes its kind (DISP_E_TYPEMISMATCH: TypeMismatch, ...),
    // anything else is System carrying hr.
    static Error FromHresult(HRESULT hr, std::wstring description = {}, std::wstring source = {});
    // System with HRESULT_FROM_WIN32(GetLastError()).
    static Error FromLastError();

    ErrorKind kind() const noexcept { return kind_; }
    HRESULT systemCode() const noexcept { return system_; }  // S_OK unless kind() is System
    const std::wstring& description() const noexcept { return description_; }
    const std::wstring& source() const noexcept { return source_; }

private:
    ErrorKind kind_;
    HRESULT system_ = S_OK;
    std::wstring description_;
    std::wstring source_;
};

// Runs one step of a member whose failing steps are skipped: any failure in it is swallowed.
template <typename F>
void Step(F&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

// The one table of the kinds: the script's error number and standard description
// (0 and an empty text for System).
int ErrorNumber(ErrorKind kind) noexcept;
const wchar_t* ErrorDescription(ErrorKind kind) noexcept;

// True for a script error HRESULT: facility "control", the error number in the low word.
bool IsScriptErrorCode(HRESULT hr) noexcept;

// The kind a script error number or an automation failure code stands for; System when none.
ErrorKind ErrorKindOfNumber(int number) noexcept;
ErrorKind ErrorKindOfHresult(HRESULT hr) noexcept;

}  // namespace ombrisk
