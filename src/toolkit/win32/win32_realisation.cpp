#include "toolkit/realisation.h"

#include "toolkit/units.h"
#include "toolkit/window.h"
#include "win32_controls.h"
#include "win32_dialogs.h"
#include "win32_input.h"
#include "win32_remote.h"
#include "win32_store.h"
#include "win32_system_dll.h"
#include "win32_text.h"
#include "win32_window_peer.h"

#include <shellapi.h>

namespace toolkit::win32 {

namespace {

constexpr wchar_t kOwnerClass[] = L"KelmOwner";

// Keeps the owned windows off the taskbar and answers for the process when the session ends: the
// end of the session is the program's, not one window's.
LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp)
            SystemQuitRequested();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

class Win32Realisation : public Realisation {
  public:
    Win32Realisation() {
        Win32WindowPeer::registerClass();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ownerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kOwnerClass;
        RegisterClassExW(&wc);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        m_tpp = 1440.0 / (dpi > 0 ? dpi : 96);
    }

    ~Win32Realisation() override {
        if (m_owner)
            DestroyWindow(m_owner);
    }

    // Only windows with a frame have the hidden owner.
    std::unique_ptr<WindowPeer> createWindow(const WindowDesign& design,
                                             WindowSink& sink) override {
        return std::make_unique<Win32WindowPeer>(
            design, sink, m_tpp, design.border == BorderStyle::None ? nullptr : owner());
    }

    double twipsPerPixel() const override { return m_tpp; }

    std::vector<Monitor> screens() const override {
        std::vector<Monitor> out;
        struct Collect {
            const Win32Realisation* self;
            std::vector<Monitor>* out;
        } collect{this, &out};
        EnumDisplayMonitors(
            nullptr, nullptr,
            [](HMONITOR m, HDC, LPRECT, LPARAM data) -> BOOL {
                auto* c = reinterpret_cast<Collect*>(data);
                MONITORINFO info{};
                info.cbSize = sizeof info;
                if (!GetMonitorInfoW(m, &info))
                    return TRUE; // a monitor gone meanwhile
                const double t = c->self->m_tpp;
                const auto twips = [t](const RECT& r) {
                    return Rect{ToTwips(r.left, t), ToTwips(r.top, t), ToTwips(r.right - r.left, t),
                                ToTwips(r.bottom - r.top, t)};
                };
                const Monitor rect{twips(info.rcMonitor), twips(info.rcWork)};
                if (info.dwFlags & MONITORINFOF_PRIMARY)
                    c->out->insert(c->out->begin(), rect);
                else
                    c->out->push_back(rect);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&collect));
        if (out.empty()) {
            const Rect whole{0, 0, float(GetSystemMetrics(SM_CXSCREEN) * m_tpp),
                             float(GetSystemMetrics(SM_CYSCREEN) * m_tpp)};
            out.push_back({whole, whole});
        }
        return out;
    }

    int messageBox(const std::string& text, int style, const std::string& title) override {
        owner(); // the session may end while the box waits
        return MessageBoxFor(text, style, title);
    }

    Store& store() override { return m_store; }

    Claim listen(RemoteHandler handler) override { return m_remote.listen(std::move(handler)); }

    int run() override {
        owner();
        m_remote.open();
        ModalLoop loop;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (Win32WindowPeer::dialogKey(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return 0;
    }

    // Menus, message boxes, dialogs and tips are windows of this thread too.
    void leaveScreen() override {
        EndMenu();
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND h, LPARAM) -> BOOL {
                if (IsWindowVisible(h))
                    ShowWindow(h, SW_HIDE);
                return TRUE;
            },
            0);
    }

    // Leaves every running loop: a modal loop that sees the quit message passes it on to the
    // loop around it. With none running there is nothing to leave.
    void quit() override {
        if (ModalLoop::depth() > 0)
            PostQuitMessage(0);
    }

    void systemMove(uintptr_t window) override {
        if (Win32WindowPeer* p = Win32WindowPeer::find(window))
            p->requestMove();
    }

    void setTopmost(uintptr_t window) override {
        if (Win32WindowPeer* p = Win32WindowPeer::find(window))
            p->setTopmost();
    }

    void setAlpha(uintptr_t window, uint8_t alpha) override {
        if (Win32WindowPeer* p = Win32WindowPeer::find(window))
            p->setAlpha(alpha);
    }

    void shellOpen(const std::string& target) override {
        static auto* const shellExecute =
            SystemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
        if (shellExecute)
            shellExecute(nullptr, L"open", W(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }

    std::optional<int32_t> chooseColor(uintptr_t owner) override {
        return ChooseColour(reinterpret_cast<HWND>(owner));
    }

    std::optional<FontChoice> chooseFont(const FontSeed& seed) override {
        return ChooseFontFrom(seed);
    }

  private:
    // Made when the first loop runs or the first framed window opens, not before the first
    // window shows.
    HWND owner() {
        if (!m_owner)
            m_owner = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        return m_owner;
    }

    HWND m_owner = nullptr;
    double m_tpp = 15;
    RegistryStore m_store;
    RemoteListener m_remote;
};

} // namespace

} // namespace toolkit::win32

namespace toolkit {

std::unique_ptr<Realisation> MakeRealisation(int&, char**) {
    return std::make_unique<win32::Win32Realisation>();
}

} // namespace toolkit
