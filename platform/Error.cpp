#include "platform/Error.h"

#include <iterator>

namespace ombrisk {

namespace {

struct ErrorRow {
    ErrorKind kind;
    int number;
    HRESULT failure;  // the automation failure code that stands for the same error, or S_OK
    const wchar_t* description;
};

constexpr ErrorRow kErrors[] = {
    {ErrorKind::InvalidProcedureCall, 5, E_INVALIDARG, L"Invalid procedure call or argument"},
    {ErrorKind::Overflow, 6, DISP_E_OVERFLOW, L"Overflow"},
    {ErrorKind::OutOfMemory, 7, E_OUTOFMEMORY, L"Out of memory"},
    {ErrorKind::SubscriptOutOfRange, 9, DISP_E_BADINDEX, L"Subscript out of range"},
    {ErrorKind::TypeMismatch, 13, DISP_E_TYPEMISMATCH, L"Type mismatch"},
    {ErrorKind::InvalidUseOfNull, 94, S_OK, L"Invalid use of Null"},
    {ErrorKind::ArgumentNotOptional, 449, DISP_E_PARAMNOTFOUND, L"Argument not optional"},
    {ErrorKind::WrongArgumentCount, 450, DISP_E_BADPARAMCOUNT, L"Wrong number of arguments or invalid property assignment"},
};

const ErrorRow* RowOf(ErrorKind kind) noexcept {
    for (const ErrorRow& row : kErrors)
        if (row.kind == kind) return &row;
    return nullptr;
}

}  // namespace

bool IsScriptErrorCode(HRESULT hr) noexcept { return (static_cast<unsigned>(hr) & 0xFFFF0000u) == 0x800A0000u; }

Error Error::FromHresult(HRESULT hr, std::wstring description, std::wstring source) {
    Error e(ErrorKindOfHresult(hr), std::move(description), std::move(source));
    if (e.kind_ == ErrorKind::System) e.system_ = hr;
    return e;
}

Error Error::FromLastError() { return FromHresult(HRESULT_FROM_WIN32(GetLastError())); }

int ErrorNumber(ErrorKind kind) noexcept {
    const ErrorRow* row = RowOf(kind);
    return row ? row->number : 0;
}

const wchar_t* ErrorDescription(ErrorKind kind) noexcept {
    const ErrorRow* row = RowOf(kind);
    return row ? row->description : L"";
}

ErrorKind ErrorKindOfNumber(int number) noexcept {
    for (const ErrorRow& row : kErrors)
        if (row.number == number) return row.kind;
    return ErrorKind::System;
}

ErrorKind ErrorKindOfHresult(HRESULT hr) noexcept {
    if (IsScriptErrorCode(hr)) return ErrorKindOfNumber(hr & 0xFFFF);
    for (const ErrorRow& row : kErrors)
        if (row.failure != S_OK && row.failure == hr) return row.kind;
    return ErrorKind::System;
}

}  // namespace ombrisk
