#include "platform/Module.h"

#include "platform/GrowingRead.h"

namespace ombrisk {

namespace {

HINSTANCE g_instance = nullptr;
LONG g_uses = 0;

}  // namespace

void SetModuleInstance(HINSTANCE instance) noexcept { g_instance = instance; }

HINSTANCE ModuleInstance() noexcept { return g_instance; }

std::wstring ModulePath() {
    return *ReadGrowing<std::wstring>(MAX_PATH, [](wchar_t* data, size_t size) {
        const DWORD n = GetModuleFileNameW(g_instance, data, static_cast<DWORD>(size));
        return n < size ? Attempt::Read(n) : Attempt::Again(size * 2);  // n == size: cut short
    });
}

void ModuleAddRef() noexcept { InterlockedIncrement(&g_uses); }
void ModuleRelease() noexcept { InterlockedDecrement(&g_uses); }
bool ModuleInUse() noexcept { return InterlockedCompareExchange(&g_uses, 0, 0) != 0; }

}  // namespace ombrisk
