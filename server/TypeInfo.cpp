#include "server/TypeInfo.h"

#include "generated/Ombrisk_h.h"
#include "platform/Module.h"
#include "platform/Raii.h"

namespace ombrisk {

namespace {

INIT_ONCE g_once = INIT_ONCE_STATIC_INIT;
// Held for the life of the DLL; ReleaseTypeInfo lets them go when FreeLibrary unloads it. The
// holder has no destructor: at process exit oleaut32 may be gone before this DLL.
struct TypeInfoCache {
    ComPtr<ITypeLib> lib;
    ComPtr<ITypeInfo> helperInterface;
    ComPtr<ITypeInfo> helperClass;
};
union NeverDestroyed {
    TypeInfoCache cache;
    NeverDestroyed() : cache() {}
    ~NeverDestroyed() {}
} g_holder;
ComPtr<ITypeLib>& g_lib = g_holder.cache.lib;
ComPtr<ITypeInfo>& g_interface = g_holder.cache.helperInterface;
ComPtr<ITypeInfo>& g_class = g_holder.cache.helperClass;

// Per DISPID, the most arguments (retval not counted) of its property-put forms and of its
// other forms, -1 where it has none. Filled once with the type information: reading a FUNCDESC
// copies it, and doing that for every member at every call cost more than the call itself.
struct ArgumentLimits {
    DISPID id;
    int other;
    int put;
    int optionalTyped;  // the first optional parameter of a method that is no Variant and has no default
};
constexpr size_t kMaxMembers = 128;
ArgumentLimits g_limits[kMaxMembers];
size_t g_limitCount = 0;

void CollectArgumentLimits(ITypeInfo* ti) {
    TYPEATTR* attr = nullptr;
    if (!ti || FAILED(ti->GetTypeAttr(&attr))) return;
    const WORD funcs = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    for (WORD i = 0; i < funcs; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
        const bool put = fd->invkind == INVOKE_PROPERTYPUT || fd->invkind == INVOKE_PROPERTYPUTREF;
        int count = 0;
        int optionalTyped = -1;
        for (SHORT p = 0; p < fd->cParams; ++p) {
            const ELEMDESC& param = fd->lprgelemdescParam[p];
            const USHORT flags = param.paramdesc.wParamFlags;
            if (flags & PARAMFLAG_FRETVAL) continue;
            if ((flags & PARAMFLAG_FOPT) && !(flags & PARAMFLAG_FHASDEFAULT) && param.tdesc.vt != VT_VARIANT &&
                optionalTyped < 0)
                optionalTyped = count;
            ++count;
        }
        size_t k = 0;
        while (k < g_limitCount && g_limits[k].id != fd->memid) ++k;
        if (k == g_limitCount && k < kMaxMembers) g_limits[g_limitCount++] = ArgumentLimits{fd->memid, -1, -1, -1};
        if (k < g_limitCount) {
            int& limit = put ? g_limits[k].put : g_limits[k].other;
            if (count > limit) limit = count;
            if (!put && fd->invkind == INVOKE_FUNC) g_limits[k].optionalTyped = optionalTyped;
        }
        ti->ReleaseFuncDesc(fd);
    }
}

BOOL CALLBACK LoadOnce(PINIT_ONCE, PVOID, PVOID*) {
    const std::wstring path = ModulePath();
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, g_lib.put()))) return TRUE;
    g_lib->GetTypeInfoOfGuid(IID__Helper, g_interface.put());
    g_lib->GetTypeInfoOfGuid(CLSID_Helper, g_class.put());
    CollectArgumentLimits(g_interface.get());
    return TRUE;
}

void EnsureLoaded() noexcept { InitOnceExecuteOnce(&g_once, LoadOnce, nullptr, nullptr); }

}  // namespace

ITypeInfo* HelperInterfaceInfo() noexcept {
    EnsureLoaded();
    return g_interface.get();
}

ITypeInfo* HelperClassInfo() noexcept {
    EnsureLoaded();
    return g_class.get();
}

int ArgumentLimit(DISPID id, WORD flags) noexcept {
    if (!HelperInterfaceInfo()) return -1;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    for (size_t k = 0; k < g_limitCount; ++k)
        if (g_limits[k].id == id) return put ? g_limits[k].put : g_limits[k].other;
    return -1;
}

int OptionalTypedParameter(DISPID id, WORD flags) noexcept {
    if (!HelperInterfaceInfo() || !(flags & DISPATCH_METHOD)) return -1;
    for (size_t k = 0; k < g_limitCount; ++k)
        if (g_limits[k].id == id) return g_limits[k].optionalTyped;
    return -1;
}

DISPID HelperDispid(const wchar_t* name) noexcept {
    ITypeInfo* ti = HelperInterfaceInfo();
    DISPID id = DISPID_UNKNOWN;
    auto* names = const_cast<LPOLESTR>(name);
    if (!ti || FAILED(ti->GetIDsOfNames(&names, 1, &id))) return DISPID_UNKNOWN;
    return id;
}

void ReleaseTypeInfo() noexcept {
    g_class.reset();
    g_interface.reset();
    g_lib.reset();
    g_limitCount = 0;
}

}  // namespace ombrisk
