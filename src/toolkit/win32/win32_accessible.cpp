#include "win32_accessible.h"

#include "win32_system_dll.h"

#include <objbase.h>
#include <oleacc.h>

namespace toolkit::win32 {

namespace {

// As oleacc.h has them; it only declares them, and the library that defines them is not linked.
const CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const MSAAPROPID kName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
const MSAAPROPID kRole = {
    0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};

// Made once, on this, the user-interface thread; kept for the life of the process.
IAccPropServices* service() {
    static IAccPropServices* const made = []() -> IAccPropServices* {
        auto* init = SystemFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        auto* create = SystemFunction<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
        if (!init || !create)
            return nullptr;
        init(nullptr, COINIT_APARTMENTTHREADED); // already initialised, in any way, is as good
        void* p = nullptr;
        if (FAILED(create(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices, &p)))
            return nullptr;
        return static_cast<IAccPropServices*>(p);
    }();
    return made;
}

} // namespace

void Annotate(HWND hwnd, const std::wstring& name, long role) {
    IAccPropServices* s = service();
    if (!s)
        return;
    if (!name.empty())
        s->SetHwndPropStr(hwnd, DWORD(OBJID_CLIENT), CHILDID_SELF, kName, name.c_str());
    if (role) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = role;
        s->SetHwndProp(hwnd, DWORD(OBJID_CLIENT), CHILDID_SELF, kRole, v);
    }
}

} // namespace toolkit::win32
