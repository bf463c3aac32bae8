#include "annotations.h"

#include <objbase.h>
#include <oleacc.h>

#include <map>

namespace driver {

namespace {

// Copied from oleacc.h, not shared with the program: a wrong one there misses the stand-in.
const CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const MSAAPROPID kName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
const MSAAPROPID kRole = {
    0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};

std::map<HWND, std::wstring> g_names;
std::map<HWND, long> g_roles;

// Only the annotations of a window's client object, the ones the program makes, are kept.
class Recorder : public IAccPropServices, public IClassFactory {
  public:
    // IUnknown, for both interfaces: one static object.
    HRESULT WINAPI QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIAccPropServices))
            *out = static_cast<IAccPropServices*>(this);
        else if (IsEqualIID(iid, IID_IClassFactory))
            *out = static_cast<IClassFactory*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }

    HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return outer ? CLASS_E_NOAGGREGATION : QueryInterface(iid, out);
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

    HRESULT WINAPI SetHwndProp(HWND hwnd, DWORD object, DWORD child, MSAAPROPID prop,
                               VARIANT v) override {
        if (LONG(object) != OBJID_CLIENT || child != CHILDID_SELF || !IsEqualGUID(prop, kRole) ||
            v.vt != VT_I4)
            return E_INVALIDARG;
        g_roles[hwnd] = v.lVal;
        return S_OK;
    }
    HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD object, DWORD child, MSAAPROPID prop,
                                  LPCWSTR text) override {
        if (LONG(object) != OBJID_CLIENT || child != CHILDID_SELF || !IsEqualGUID(prop, kName))
            return E_INVALIDARG;
        g_names[hwnd] = text;
        return S_OK;
    }

    // What the program never asks of it.
#define KELM_NOT_ASKED(method, ...)                                                                \
    HRESULT WINAPI method(__VA_ARGS__) override {                                                  \
        return E_NOTIMPL;                                                                          \
    }
    KELM_NOT_ASKED(SetPropValue, const BYTE*, DWORD, MSAAPROPID, VARIANT)
    KELM_NOT_ASKED(SetPropServer, const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                   AnnoScope)
    KELM_NOT_ASKED(ClearProps, const BYTE*, DWORD, const MSAAPROPID*, int)
    KELM_NOT_ASKED(SetHwndPropServer, HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                   AnnoScope)
    KELM_NOT_ASKED(ClearHwndProps, HWND, DWORD, DWORD, const MSAAPROPID*, int)
    KELM_NOT_ASKED(ComposeHwndIdentityString, HWND, DWORD, DWORD, BYTE**, DWORD*)
    KELM_NOT_ASKED(DecomposeHwndIdentityString, const BYTE*, DWORD, HWND*, DWORD*, DWORD*)
    KELM_NOT_ASKED(SetHmenuProp, HMENU, DWORD, MSAAPROPID, VARIANT)
    KELM_NOT_ASKED(SetHmenuPropStr, HMENU, DWORD, MSAAPROPID, LPCWSTR)
    KELM_NOT_ASKED(SetHmenuPropServer, HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                   AnnoScope)
    KELM_NOT_ASKED(ClearHmenuProps, HMENU, DWORD, const MSAAPROPID*, int)
    KELM_NOT_ASKED(ComposeHmenuIdentityString, HMENU, DWORD, BYTE**, DWORD*)
    KELM_NOT_ASKED(DecomposeHmenuIdentityString, const BYTE*, DWORD, HMENU*, DWORD*)
#undef KELM_NOT_ASKED
};

Recorder g_recorder;

} // namespace

void RecordAnnotations() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DWORD cookie = 0;
    CoRegisterClassObject(kAccPropServices, static_cast<IClassFactory*>(&g_recorder),
                          CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
}

void ForgetAnnotations() {
    g_names.clear();
    g_roles.clear();
}

std::wstring AnnotatedName(HWND hwnd) {
    return g_names[hwnd];
}
long AnnotatedRole(HWND hwnd) {
    return g_roles[hwnd];
}

} // namespace driver
