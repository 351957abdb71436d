// The one place where failures become HRESULTs with automation error information. Members
// throw Error (platform/Error.h) or let std::bad_alloc escape; the noexcept shim Guarded()
// catches it, records IErrorInfo for the calling thread and returns the HRESULT, which the
// dispatcher turns into EXCEPINFO. Scripts then see the usual VBScript error numbers.
#pragma once

#include <windows.h>

#include "platform/Error.h"

#include <new>
#include <string>

namespace ombrisk {

// The HRESULT a script sees for e: facility "control" with the error's number, as scripts expect;
// a System error's own code.
HRESULT HresultOf(const Error& e) noexcept;

// Records error information for e on this thread (its description, or the standard text of its
// HRESULT; its source, or the library's ProgID) and returns HresultOf(e).
HRESULT ReportError(const Error& e) noexcept;

// The script error a failed IDispatch::Invoke stands for: the dispatcher's argument errors
// (type mismatch, overflow, argument not optional, wrong number of arguments) and the library's
// own errors map to a script error HRESULT; anything else gives S_OK (pass hr on unchanged).
HRESULT ScriptErrorForDispatchFailure(HRESULT hr) noexcept;

// Runs body (which returns HRESULT) and converts every exception into an HRESULT with error
// information. An exception never crosses the COM boundary.
template <typename F>
HRESULT Guarded(F&& body) noexcept {
    try {
        return body();
    } catch (const Error& e) {
        return ReportError(e);
    } catch (const std::bad_alloc&) {
        return ReportError(Error(ErrorKind::OutOfMemory));
    } catch (...) {
        return ReportError(Error::FromHresult(E_UNEXPECTED));
    }
}

}  // namespace ombrisk
