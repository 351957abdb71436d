#include "server/TypeInfo.h"

#include "server/Module.h"
#include "generated/Ombrisk_h.h"

namespace ombrisk {

namespace {

INIT_ONCE g_once = INIT_ONCE_STATIC_INIT;
ITypeLib* g_lib = nullptr;
ITypeInfo* g_interface = nullptr;
ITypeInfo* g_class = nullptr;

BOOL CALLBACK LoadOnce(PINIT_ONCE, PVOID, PVOID*) {
    const std::wstring path = ModulePath();
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &g_lib))) return TRUE;
    g_lib->GetTypeInfoOfGuid(IID__Helper, &g_interface);
    g_lib->GetTypeInfoOfGuid(CLSID_Helper, &g_class);
    return TRUE;
}

void EnsureLoaded() noexcept { InitOnceExecuteOnce(&g_once, LoadOnce, nullptr, nullptr); }

}  // namespace

ITypeInfo* HelperInterfaceInfo() noexcept {
    EnsureLoaded();
    return g_interface;
}

ITypeInfo* HelperClassInfo() noexcept {
    EnsureLoaded();
    return g_class;
}

ITypeLib* OmbriskTypeLib() noexcept {
    EnsureLoaded();
    return g_lib;
}

int ArgumentLimit(DISPID id, WORD flags) noexcept {
    ITypeInfo* ti = HelperInterfaceInfo();
    TYPEATTR* attr = nullptr;
    if (!ti || FAILED(ti->GetTypeAttr(&attr))) return -1;
    const WORD funcs = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    int limit = -1;
    for (WORD i = 0; i < funcs; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
        const bool put = fd->invkind == INVOKE_PROPERTYPUT || fd->invkind == INVOKE_PROPERTYPUTREF;
        const bool wanted = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? put : !put;
        if (fd->memid == id && wanted) {
            int count = 0;
            for (SHORT p = 0; p < fd->cParams; ++p)
                if (!(fd->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) ++count;
            if (count > limit) limit = count;
        }
        ti->ReleaseFuncDesc(fd);
    }
    return limit;
}

void ReleaseTypeInfo() noexcept {
    if (g_class) g_class->Release();
    if (g_interface) g_interface->Release();
    if (g_lib) g_lib->Release();
    g_class = nullptr;
    g_interface = nullptr;
    g_lib = nullptr;
}

}  // namespace ombrisk
