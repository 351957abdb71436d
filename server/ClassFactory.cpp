#include "server/ClassFactory.h"

#include "server/Helper.h"
#include "platform/Module.h"

namespace ombrisk {

namespace {

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Static object: references only keep the DLL loaded.
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        ModuleAddRef();
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        ModuleRelease();
        return 1;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return Helper::Create(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
        if (lock) ModuleAddRef();
        else ModuleRelease();
        return S_OK;
    }
};

Factory g_factory;

}  // namespace

IClassFactory* HelperClassFactory() noexcept { return &g_factory; }

}  // namespace ombrisk
