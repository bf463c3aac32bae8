#include "win32_styles.h"

#include "win32_system_dll.h"

#include <commctrl.h>

namespace toolkit::win32 {

namespace {

// From the manifest in the exe's resources; none if the system has no version 6.
HANDLE stylesContext() {
    static const HANDLE context = [] {
        ACTCTXW actctx{};
        actctx.cbSize = sizeof actctx;
        actctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        actctx.hModule = GetModuleHandleW(nullptr);
        actctx.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
        return CreateActCtxW(&actctx);
    }();
    return context;
}

// Registers the classes of the tool tips and the standard controls once, from the version that
// is active: inside the context the loader finds version 6 by its name alone; without one, the
// system folder's.
void registerClasses(bool styled) {
    static const bool done = [styled] {
        using Init = decltype(InitCommonControlsEx);
        Init* init = nullptr;
        if (styled) {
            if (HMODULE module = LoadLibraryW(L"comctl32.dll"))
                init = reinterpret_cast<Init*>(
                    reinterpret_cast<void (*)()>(GetProcAddress(module, "InitCommonControlsEx")));
        } else {
            init = SystemFunction<Init>(L"comctl32.dll", "InitCommonControlsEx");
        }
        INITCOMMONCONTROLSEX icc{};
        icc.dwSize = sizeof icc;
        icc.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
        return init && init(&icc);
    }();
    (void)done;
}

} // namespace

VisualStyles::VisualStyles(bool wanted) {
    if (!wanted)
        return;
    const HANDLE context = stylesContext();
    m_active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &m_cookie);
    registerClasses(m_active);
}

VisualStyles::~VisualStyles() {
    if (m_active)
        DeactivateActCtx(0, m_cookie);
}

} // namespace toolkit::win32
