#include "platform/Module.h"

namespace ombrisk {

namespace {

HINSTANCE g_instance = nullptr;
LONG g_uses = 0;

}  // namespace

void SetModuleInstance(HINSTANCE instance) noexcept { g_instance = instance; }

HINSTANCE ModuleInstance() noexcept { return g_instance; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void ModuleAddRef() noexcept { InterlockedIncrement(&g_uses); }
void ModuleRelease() noexcept { InterlockedDecrement(&g_uses); }
bool ModuleInUse() noexcept { return InterlockedCompareExchange(&g_uses, 0, 0) != 0; }

}  // namespace ombrisk
