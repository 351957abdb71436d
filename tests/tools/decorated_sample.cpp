// Exported with its stdcall decoration, as an in-process server linked without its .def file
// would be. Only the build check of the real DLL looks at it.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(const void*, const void*, void**) { return E_NOTIMPL; }
