// The script runtime's file objects (TypeName "File"), which SetFileDateAtr takes in place of a
// path or a value, read by late binding.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "chores/FileDates.h"
#include "platform/Raii.h"

#include <string>

namespace ombrisk {

// The file object behind v (also by reference), or null when v is not one.
ComPtr<IDispatch> FileObjectOf(const VARIANT* v);

// Reads a property by name. Throws Error with the object's failure.
UniqueVariant GetProperty(IDispatch* object, const wchar_t* name);

// The file object's property of that name, or the value itself. Throws when neither can be had.
UniqueVariant ValueOrProperty(const VARIANT* arg, const wchar_t* property);

// SetFileDateAtr's arguments: the path of a file object or of a text (empty when it cannot be
// read), a date or the attributes from a value or from a file object's property. Never throw.
std::wstring FilePathOf(const VARIANT* file) noexcept;
FileValue<double> FileDateOf(const VARIANT* arg, const wchar_t* property) noexcept;
FileValue<DWORD> FileAttributesOf(const VARIANT* arg) noexcept;

}  // namespace ombrisk
