// A VBScript engine hosted in the calling process (IActiveScript with a minimal site), for the
// compiled clients that measure what a script author sees: a script's own calls timed from
// outside with QueryPerformanceCounter, without the cost of starting a script host process.
#pragma once

#include <windows.h>
#include <activscp.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

namespace script_engine {

inline const GUID kIID_IActiveScript = {0xbb1a2ae1, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
inline const GUID kIID_IActiveScriptParse = {0xbb1a2ae2, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
inline const GUID kIID_IActiveScriptSite = {0xdb01a1e3, 0xa42b, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};

inline std::string Narrow(const wchar_t* s) {
    std::string r;
    for (; s && *s; ++s) r.push_back(*s < 0x80 ? static_cast<char>(*s) : '?');
    return r;
}

inline LONGLONG Ticks() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

inline double Seconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

// The script site: no named items; the last script error is kept for the report.
class Site final : public IActiveScriptSite {
public:
    std::string error;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == kIID_IActiveScriptSite) {
            *ppv = static_cast<IActiveScriptSite*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as its Engine
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR, DWORD, IUnknown**, ITypeInfo**) override {
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* e) override {
        EXCEPINFO info{};
        DWORD context = 0;
        ULONG line = 0;
        LONG column = 0;
        e->GetExceptionInfo(&info);
        e->GetSourcePosition(&context, &line, &column);
        char b[64];
        snprintf(b, sizeof b, "0x%08lX at line %lu: ", static_cast<unsigned long>(info.scode), line + 1);
        error = b + Narrow(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }
};

// The VBScript engine of this process. Text passed to Run executes at once; its global
// variables stay for later texts.
class Engine {
public:
    Site site;

    Engine() = default;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    ~Engine() { Stop(); }

    bool Start() {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(L"VBScript", &clsid))) return false;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIID_IActiveScript,
                                    reinterpret_cast<void**>(&script_))))
            return false;
        if (FAILED(script_->QueryInterface(kIID_IActiveScriptParse, reinterpret_cast<void**>(&parse_)))) return false;
        return SUCCEEDED(parse_->InitNew()) && SUCCEEDED(script_->SetScriptSite(&site)) &&
               SUCCEEDED(script_->SetScriptState(SCRIPTSTATE_STARTED));
    }

    // Runs text; false when it failed (site.error then says why; a later Run clears it).
    bool Run(const std::wstring& text) {
        if (!parse_) return false;
        site.error.clear();
        EXCEPINFO info{};
        const HRESULT hr = parse_->ParseScriptText(text.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, &info);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        return SUCCEEDED(hr) && site.error.empty();
    }

    // Seconds that Run(text) took; a negative number when it failed.
    double Time(const std::wstring& text) {
        const LONGLONG t0 = Ticks();
        const bool ran = Run(text);
        const double s = Seconds(Ticks() - t0);
        return ran ? s : -1.0;
    }

    // A global variable of the script as a number; fallback when it cannot be read as one.
    double Number(const wchar_t* name, double fallback = -1.0) {
        double value = fallback;
        IDispatch* globals = nullptr;
        if (!script_ || FAILED(script_->GetScriptDispatch(nullptr, &globals)) || !globals) return fallback;
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        if (SUCCEEDED(globals->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id))) {
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            VARIANT v;
            VariantInit(&v);
            if (SUCCEEDED(
                    globals->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr)) &&
                SUCCEEDED(VariantChangeType(&v, &v, 0, VT_R8)))
                value = V_R8(&v);
            VariantClear(&v);
        }
        globals->Release();
        return value;
    }

    void Stop() {
        if (script_) script_->Close();
        if (parse_) parse_->Release();
        if (script_) script_->Release();
        parse_ = nullptr;
        script_ = nullptr;
    }

private:
    IActiveScript* script_ = nullptr;
    IActiveScriptParse* parse_ = nullptr;
};

}  // namespace script_engine
