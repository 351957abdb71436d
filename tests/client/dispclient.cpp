// Drives Ombrisk.Helper through IDispatch only and checks the type library, the dispatcher's
// handling of what clients really send, the error information, and two apartment threads
// using their own objects at once. Writes "ok N - ..." / "not ok N - ..." lines and a final
// "DONE passed=P failed=F" line to the file named on the command line.
//   dispclient <outFile> [host <host log>]   (with "host", the stand-in host runs)
#include "tests/client/ClientReport.h"

#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace client_report;

std::string Narrow(const wchar_t* s) {
    if (!s) return "";
    int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string r(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, s, -1, r.data(), n, nullptr, nullptr);
    return r;
}

std::string HexOf(long v) {
    char b[16];
    snprintf(b, sizeof b, "0x%08lX", static_cast<unsigned long>(v));
    return b;
}

struct CallResult {
    HRESULT hr;
    VARIANT value;
    EXCEPINFO excep;
    UINT argErr;
};

// Invokes with positional arguments given in script order (reversed here, as DISPPARAMS wants).
CallResult Call(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, std::vector<DISPID> named = {}) {
    CallResult r{};
    VariantInit(&r.value);
    std::vector<VARIANT> rev(args.rbegin(), args.rend());
    DISPPARAMS p{rev.empty() ? nullptr : rev.data(), named.empty() ? nullptr : named.data(), static_cast<UINT>(rev.size()),
                 static_cast<UINT>(named.size())};
    r.argErr = 0xFFFFFFFF;
    r.hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, &r.value, &r.excep, &r.argErr);
    return r;
}

VARIANT I4(long v) {
    VARIANT x;
    VariantInit(&x);
    V_VT(&x) = VT_I4;
    V_I4(&x) = v;
    return x;
}

VARIANT Str(const wchar_t* s) {
    VARIANT x;
    VariantInit(&x);
    V_VT(&x) = VT_BSTR;
    V_BSTR(&x) = SysAllocString(s);
    return x;
}

VARIANT Missing() {
    VARIANT x;
    VariantInit(&x);
    V_VT(&x) = VT_ERROR;
    V_ERROR(&x) = DISP_E_PARAMNOTFOUND;
    return x;
}

void TypeLibraryChecks(IDispatch* d) {
    ITypeInfo* ti = nullptr;
    Check(SUCCEEDED(d->GetTypeInfo(0, 0, &ti)) && ti, "GetTypeInfo gives the interface's type information");
    if (!ti) return;
    TYPEATTR* ta = nullptr;
    ti->GetTypeAttr(&ta);
    BSTR name = nullptr;
    ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    Check(Narrow(name) == "_Helper", "the interface is _Helper (got " + Narrow(name) + ")");
    SysFreeString(name);
    // The dispatch view lists the members; the vtable view (the dual's interface) has 7 + 43 slots.
    ITypeInfo* vt = nullptr;
    HREFTYPE ref = 0;
    if (SUCCEEDED(ti->GetRefTypeOfImplType(-1, &ref))) ti->GetRefTypeInfo(ref, &vt);
    TYPEATTR* va = nullptr;
    if (vt) vt->GetTypeAttr(&va);
    const WORD typeFlags = static_cast<WORD>((ta ? ta->wTypeFlags : 0) | (va ? va->wTypeFlags : 0));
    Check((typeFlags & TYPEFLAG_FHIDDEN) && (typeFlags & TYPEFLAG_FDUAL) && (typeFlags & TYPEFLAG_FNONEXTENSIBLE) &&
              (typeFlags & TYPEFLAG_FOLEAUTOMATION),
          "hidden, dual, non-extensible, automation-compatible (flags " + HexOf(typeFlags) + ")");
    Check(va && va->cFuncs == 43, "43 members in the interface (got " + std::to_string(va ? va->cFuncs : -1) + ")");
    struct Expect {
        int slot;
        const wchar_t* name;
        DISPID id;
        INVOKEKIND kind;
    };
    const Expect expect[] = {
        {0, L"Separator", 0x68030008, INVOKE_PROPERTYGET}, {1, L"Separator", 0x68030008, INVOKE_PROPERTYPUT},
        {2, L"DbgPrint", 0x6003000B, INVOKE_FUNC},         {4, L"SendCommand", 0x6003000D, INVOKE_FUNC},
        {12, L"GetInfo", 0x60030014, INVOKE_FUNC},         {17, L"Sleep", 0x6003001A, INVOKE_FUNC},
        {28, L"SetFileDateAtr", 0x60030024, INVOKE_FUNC},  {36, L"TCPath", 0x68030003, INVOKE_PROPERTYPUT},
        {37, L"TCPath", 0x68030003, INVOKE_PROPERTYGET},   {40, L"GetFilter", 0x68030000, INVOKE_PROPERTYGET},
        {42, L"GetIniFiles", 0x6003002E, INVOKE_FUNC},
    };
    for (const Expect& e : expect) {
        FUNCDESC* fd = nullptr;
        bool good = vt && SUCCEEDED(vt->GetFuncDesc(e.slot, &fd)) && fd;
        BSTR n = nullptr;
        if (good) vt->GetDocumentation(fd->memid, &n, nullptr, nullptr, nullptr);
        good = good && fd->memid == e.id && fd->invkind == e.kind && Narrow(n) == Narrow(e.name) &&
               fd->oVft == static_cast<SHORT>((7 + e.slot) * sizeof(void*));
        Check(good, "slot " + std::to_string(e.slot + 1) + " is " + Narrow(e.name) + " with DISPID " + HexOf(e.id));
        SysFreeString(n);
        if (fd) vt->ReleaseFuncDesc(fd);
    }
    // Parameter names, optional flags and defaults.
    auto paramInfo = [&](int slot, int param, std::string& pname, USHORT& flags, VARIANT& def) {
        FUNCDESC* fd = nullptr;
        pname.clear();
        flags = 0;
        VariantInit(&def);
        if (!vt || FAILED(vt->GetFuncDesc(slot, &fd))) return;
        BSTR names[8] = {};
        UINT got = 0;
        vt->GetNames(fd->memid, names, 8, &got);
        if (static_cast<UINT>(param + 1) < got) pname = Narrow(names[param + 1]);
        for (UINT i = 0; i < got; ++i) SysFreeString(names[i]);
        if (param < fd->cParams) {
            const PARAMDESC& pd = fd->lprgelemdescParam[param].paramdesc;
            flags = pd.wParamFlags;
            if ((flags & PARAMFLAG_FHASDEFAULT) && pd.pparamdescex) VariantCopy(&def, &pd.pparamdescex->varDefaultValue);
        }
        vt->ReleaseFuncDesc(fd);
    };
    std::string pname;
    USHORT flags = 0;
    VARIANT def;
    paramInfo(4, 1, pname, flags, def);
    Check(pname == "WaitIt" && (flags & PARAMFLAG_FOPT) && !(flags & PARAMFLAG_FHASDEFAULT),
          "SendCommand's WaitIt is optional without a default");
    VariantClear(&def);
    paramInfo(27, 0, pname, flags, def);
    Check(pname == "FilePathName" && (flags & PARAMFLAG_FHASDEFAULT) && V_VT(&def) == VT_BSTR &&
              Narrow(V_BSTR(&def)) == "Totalcmd.inc",
          "LoadIncFile's FilePathName defaults to Totalcmd.inc");
    VariantClear(&def);
    paramInfo(41, 0, pname, flags, def);
    Check(pname == "LockWindow" && (flags & PARAMFLAG_FHASDEFAULT) && V_VT(&def) == VT_BOOL && V_BOOL(&def) == VARIANT_TRUE,
          "LockTC's LockWindow defaults to true");
    VariantClear(&def);
    paramInfo(13, 1, pname, flags, def);
    Check(pname == "InNewTab" && (flags & PARAMFLAG_FHASDEFAULT), "SetSrcPath's InNewTab has a default");
    VariantClear(&def);
    if (va) vt->ReleaseTypeAttr(va);
    if (vt) vt->Release();
    if (ta) ti->ReleaseTypeAttr(ta);
    ti->Release();
}

// What an object browser shows: the library, the class, the interface and every member carry
// a help string, each short enough for its one-line description field.
void HelpStringChecks(IDispatch* d) {
    ITypeInfo* ti = nullptr;
    ITypeLib* tl = nullptr;
    UINT index = 0;
    if (SUCCEEDED(d->GetTypeInfo(0, 0, &ti)) && ti) ti->GetContainingTypeLib(&tl, &index);
    Check(tl != nullptr, "the type library is reachable from the type information");
    if (!tl) {
        if (ti) ti->Release();
        return;
    }
    auto docOf = [](auto* owner, MEMBERID id, std::string& name) {
        BSTR n = nullptr, doc = nullptr;
        owner->GetDocumentation(id, &n, &doc, nullptr, nullptr);
        name = Narrow(n);
        std::string text = Narrow(doc);
        SysFreeString(n);
        SysFreeString(doc);
        return text;
    };
    auto shortText = [](const std::string& s) { return !s.empty() && s.size() <= 100; };
    std::string name;
    std::string doc = docOf(tl, -1, name);
    Check(name == "Ombrisk" && shortText(doc), "library " + name + " has a help string: " + doc);
    doc = docOf(ti, MEMBERID_NIL, name);
    Check(shortText(doc), "interface " + name + " has a help string: " + doc);
    std::string classDoc = "(no coclass)";
    for (UINT i = 0; i < tl->GetTypeInfoCount(); ++i) {
        TYPEKIND kind{};
        if (SUCCEEDED(tl->GetTypeInfoType(i, &kind)) && kind == TKIND_COCLASS) {
            BSTR n = nullptr, text = nullptr;
            tl->GetDocumentation(static_cast<INT>(i), &n, &text, nullptr, nullptr);
            name = Narrow(n);
            classDoc = Narrow(text);
            SysFreeString(n);
            SysFreeString(text);
        }
    }
    Check(name == "Helper" && shortText(classDoc), "class " + name + " has a help string: " + classDoc);

    // Every slot of the vtable view; a property's get and let share their DISPID, and both
    // carry a help string in the IDL.
    ITypeInfo* vt = nullptr;
    HREFTYPE ref = 0;
    if (SUCCEEDED(ti->GetRefTypeOfImplType(-1, &ref))) ti->GetRefTypeInfo(ref, &vt);
    TYPEATTR* va = nullptr;
    if (vt) vt->GetTypeAttr(&va);
    int documented = 0;
    std::string missing;
    for (UINT slot = 0; va && slot < va->cFuncs; ++slot) {
        FUNCDESC* fd = nullptr;
        if (FAILED(vt->GetFuncDesc(slot, &fd)) || !fd) continue;
        doc = docOf(vt, fd->memid, name);
        if (shortText(doc)) ++documented;
        else missing += " " + name + "(" + std::to_string(doc.size()) + " chars)";
        vt->ReleaseFuncDesc(fd);
    }
    Check(documented == 43, "all 43 members carry a short help string (" + std::to_string(documented) +
                                " do; without:" + (missing.empty() ? std::string(" none") : missing) + ")");
    if (va) vt->ReleaseTypeAttr(va);
    if (vt) vt->Release();
    tl->Release();
    ti->Release();
}

void DispatchChecks(IDispatch* d) {
    // Names are found without regard to case; unknown names are refused.
    Check(IdOf(d, L"pause") == 0x68030005 && IdOf(d, L"PAUSE") == 0x68030005, "names are case-insensitive");
    Check(IdOf(d, L"NoSuchMember") == DISPID_UNKNOWN, "an unknown name has no DISPID");
    CallResult r = Call(d, 0x12345, DISPATCH_METHOD, {});
    Check(r.hr == DISP_E_MEMBERNOTFOUND, "an unknown DISPID is refused (" + HexOf(r.hr) + ")");

    // Property put through the DISPID_PROPERTYPUT named argument.
    DISPID put = DISPID_PROPERTYPUT;
    r = Call(d, IdOf(d, L"Pause"), DISPATCH_PROPERTYPUT, {I4(123)}, {put});
    Check(SUCCEEDED(r.hr), "Pause put with the named argument");
    r = Call(d, IdOf(d, L"Pause"), DISPATCH_PROPERTYGET, {});
    Check(SUCCEEDED(r.hr) && V_VT(&r.value) == VT_I4 && V_I4(&r.value) == 123, "Pause reads back 123 as a Long");
    VariantClear(&r.value);

    // A failure carries EXCEPINFO and error information.
    r = Call(d, IdOf(d, L"Pause"), DISPATCH_PROPERTYPUT, {Str(L"soon")}, {put});
    Check(r.hr == DISP_E_EXCEPTION && r.excep.scode == static_cast<SCODE>(0x800A000D),
          "a type mismatch reaches the client as DISP_E_EXCEPTION with scode 0x800A000D (" + HexOf(r.hr) + ", " +
              HexOf(r.excep.scode) + ")");
    Check(Narrow(r.excep.bstrDescription) == "Type mismatch" && Narrow(r.excep.bstrSource) == "Ombrisk.Helper",
          "with description and source");
    SysFreeString(r.excep.bstrDescription);
    SysFreeString(r.excep.bstrSource);
    SysFreeString(r.excep.bstrHelpFile);

    // Arguments converted as automation converts them: Sleep takes a Long from a string.
    r = Call(d, IdOf(d, L"Sleep"), DISPATCH_METHOD, {Str(L"1")});
    Check(SUCCEEDED(r.hr), "Sleep accepts the text 1 for its Long");
    r = Call(d, IdOf(d, L"Sleep"), DISPATCH_METHOD, {});
    Check(r.hr == DISP_E_EXCEPTION &&
              (r.excep.scode == static_cast<SCODE>(0x800A01C1) || r.excep.scode == static_cast<SCODE>(0x800A01C2)) &&
              r.excep.bstrDescription && SysStringLen(r.excep.bstrDescription) > 0,
          "a missing required argument is refused with a described script error (" + HexOf(r.excep.scode) + ")");
    r = Call(d, IdOf(d, L"Sleep"), DISPATCH_METHOD, {I4(0), I4(0)});
    Check(r.hr == DISP_E_EXCEPTION && r.excep.scode == static_cast<SCODE>(0x800A01C2) &&
              Narrow(r.excep.bstrDescription) == "Wrong number of arguments or invalid property assignment",
          "one argument too many is refused with error 450 and its description");
    r = Call(d, IdOf(d, L"Sleep"), DISPATCH_METHOD, {Str(L"soon")});
    Check(r.hr == DISP_E_EXCEPTION && r.excep.scode == static_cast<SCODE>(0x800A000D) &&
              Narrow(r.excep.bstrDescription) == "Type mismatch",
          "an argument the dispatcher cannot convert is a described type mismatch (" + HexOf(r.hr) + ", " +
              HexOf(r.excep.scode) + ")");

    // Omitted optional arguments: a missing marker and a shorter list behave alike.
    r = Call(d, IdOf(d, L"LockTC"), DISPATCH_METHOD, {Missing()});
    Check(SUCCEEDED(r.hr) && V_VT(&r.value) == VT_BOOL, "LockTC with a missing-argument marker");
    VariantClear(&r.value);
    r = Call(d, IdOf(d, L"SendCommand"), DISPATCH_METHOD, {I4(1), Missing()});
    Check(SUCCEEDED(r.hr), "SendCommand with WaitIt marked missing");
    VariantClear(&r.value);

    // Named arguments in any order.
    DISPID sendIds[2] = {0, 1};
    {
        std::vector<VARIANT> args = {I4(7), I4(0)};  // cmd, WaitIt by name, order reversed below
        VARIANT named[2];
        named[0] = args[1];  // WaitIt
        named[1] = args[0];  // cmd
        DISPID ids[2] = {sendIds[1], sendIds[0]};
        DISPPARAMS p{named, ids, 2, 2};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO ex{};
        HRESULT hr = d->Invoke(IdOf(d, L"SendCommand"), IID_NULL, 0, DISPATCH_METHOD, &p, &result, &ex, nullptr);
        Check(SUCCEEDED(hr) && V_VT(&result) == VT_BOOL, "SendCommand with named arguments in reverse order");
    }
}

void ClassInfoChecks(IDispatch* d) {
    IProvideClassInfo* pci = nullptr;
    d->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&pci));
    Check(pci != nullptr, "IProvideClassInfo is implemented");
    if (pci) {
        ITypeInfo* ci = nullptr;
        pci->GetClassInfo(&ci);
        BSTR name = nullptr;
        if (ci) ci->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        Check(Narrow(name) == "Helper", "the class is Helper (got " + Narrow(name) + ")");
        SysFreeString(name);
        if (ci) ci->Release();
        pci->Release();
    }
    ISupportErrorInfo* sei = nullptr;
    d->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei));
    Check(sei != nullptr && sei->InterfaceSupportsErrorInfo(IID_IDispatch) == S_OK, "ISupportErrorInfo says yes");
    if (sei) sei->Release();
}

// With a host running (the "host" argument): SendCommand's WaitIt passed by name decides
// between sending and posting against the Wait property, in either order of the arguments.
// The host's log then shows command 4711 sent, 4712 posted.
void NamedWaitItChecks(IDispatch* d) {
    const DISPID putId = DISPID_PROPERTYPUT;
    const DISPID send = IdOf(d, L"SendCommand");
    VARIANT yes;
    VariantInit(&yes);
    V_VT(&yes) = VT_BOOL;
    V_BOOL(&yes) = VARIANT_TRUE;
    VARIANT no = yes;
    V_BOOL(&no) = VARIANT_FALSE;
    const struct {
        bool wait;
        long cmd;
        VARIANT waitIt;
        const char* label;
    } cases[] = {{false, 4711, yes, "WaitIt:=True by name overrides Wait False"},
                 {true, 4712, no, "WaitIt:=False by name overrides Wait True"}};
    for (const auto& c : cases) {
        CallResult r = Call(d, IdOf(d, L"Wait"), DISPATCH_PROPERTYPUT, {c.wait ? yes : no}, {putId});
        Check(SUCCEEDED(r.hr), std::string("Wait put before: ") + c.label);
        VARIANT args[2] = {c.waitIt, I4(c.cmd)};  // named: WaitIt (DISPID 1), then cmd (DISPID 0)
        DISPID ids[2] = {1, 0};
        DISPPARAMS p{args, ids, 2, 2};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO ex{};
        const HRESULT hr = d->Invoke(send, IID_NULL, 0, DISPATCH_METHOD, &p, &result, &ex, nullptr);
        Check(SUCCEEDED(hr) && V_VT(&result) == VT_BOOL && V_BOOL(&result) == VARIANT_TRUE, c.label);
    }
}

// A dispatcher as strict as Windows' may be: SendCommand without a typed WaitIt (the second
// positional argument or DISPID 1 by name, not the missing marker) is refused.
HRESULT(STDMETHODCALLTYPE* g_invoke)(ITypeInfo*, void*, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*);
HRESULT STDMETHODCALLTYPE StrictInvoke(ITypeInfo* self, void* object, MEMBERID id, WORD flags, DISPPARAMS* p,
                                       VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
    bool waitIt = p->cArgs - p->cNamedArgs == 2 && V_VT(&p->rgvarg[p->cNamedArgs]) != VT_ERROR;
    for (UINT i = 0; i < p->cNamedArgs; ++i) waitIt |= p->rgdispidNamedArgs[i] == 1 && V_VT(&p->rgvarg[i]) != VT_ERROR;
    if (id == 0x6003000D && !waitIt) return DISP_E_PARAMNOTFOUND;
    return g_invoke(self, object, id, flags, p, result, excep, argErr);
}

// SendCommand without WaitIt follows Wait through the object's type information with its Invoke
// slot swapped for the strict one. The host's log then shows 4713 sent, 4714 posted, 4715 sent.
void OmittedWaitItChecks(IDispatch* d) {
    ITypeInfo* ti = nullptr;
    d->GetTypeInfo(0, 0, &ti);
    void** slot = *reinterpret_cast<void***>(ti) + 11;  // ITypeInfo::Invoke
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    g_invoke = reinterpret_cast<decltype(g_invoke)>(std::exchange(*slot, reinterpret_cast<void*>(&StrictInvoke)));
    const struct {
        long wait;
        std::vector<VARIANT> args;
        std::vector<DISPID> named;
        const char* label;
    } cases[] = {{-1, {I4(4713)}, {}, "one argument, Wait True"},
                 {0, {I4(4714), Missing()}, {}, "WaitIt marked missing, Wait False"},
                 {-1, {I4(4715)}, {0}, "cmd alone by name, Wait True"}};
    for (const auto& c : cases) {
        Call(d, IdOf(d, L"Wait"), DISPATCH_PROPERTYPUT, {I4(c.wait)}, {DISPID_PROPERTYPUT});
        CallResult r = Call(d, IdOf(d, L"SendCommand"), DISPATCH_METHOD, c.args, c.named);
        Check(r.hr == S_OK && V_VT(&r.value) == VT_BOOL && V_BOOL(&r.value) == VARIANT_TRUE,
              std::string("SendCommand with ") + c.label + ", passes a strict dispatcher (" + HexOf(r.hr) + ")");
    }
    *slot = reinterpret_cast<void*>(g_invoke);
    ti->Release();
}

// What the host logged of those five calls. A command sent after a posted one may be handled
// first, so only the kind of each is compared.
void HostLogChecks(const std::wstring& log) {
    Check(WaitHostLog(log, "CMD ", 5, 5000), "the posted commands arrived");
    const std::vector<std::string> cmds = HostLogLines(log, "CMD ");
    auto has = [&](const char* start) {
        return std::any_of(cmds.begin(), cmds.end(), [&](const std::string& c) { return c.rfind(start, 0) == 0; });
    };
    Check(has("CMD sent 4711 ") && has("CMD posted 4712 "),
          "WaitIt by name: 4711 sent although Wait was False, 4712 posted although Wait was True");
    Check(has("CMD sent 4713 ") && has("CMD posted 4714 ") && has("CMD sent 4715 ") && cmds.size() == 5,
          "without WaitIt: 4713, 4715 sent, 4714 posted");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 3 && std::wstring(argv[2]) == L"host") {
        g_out = _wfopen(argv[1], L"w");
        if (!g_out) return 2;
        CoInitialize(nullptr);
        IDispatch* d = CreateHelper();
        Check(d != nullptr, "CoCreateInstance of Ombrisk.Helper");
        if (d) {
            NamedWaitItChecks(d);
            OmittedWaitItChecks(d);
            d->Release();
            HostLogChecks(argv[3]);
        }
        CoUninitialize();
        fprintf(g_out, "DONE passed=%d failed=%d\n", g_passed, g_failed);
        fclose(g_out);
        return g_failed == 0 ? 0 : 1;
    }
    g_out = argc > 1 ? _wfopen(argv[1], L"w") : stdout;
    if (!g_out) return 2;
    CoInitialize(nullptr);
    IDispatch* d = CreateHelper();
    Check(d != nullptr, "CoCreateInstance of Ombrisk.Helper");
    if (d) {
        TypeLibraryChecks(d);
        HelpStringChecks(d);
        DispatchChecks(d);
        ClassInfoChecks(d);
        d->Release();
    }
    CoUninitialize();
    fprintf(g_out, "DONE passed=%d failed=%d\n", g_passed, g_failed);
    fclose(g_out);
    return g_failed == 0 ? 0 : 1;
}
