// Win32: what a window hears from a child control reaches that control's peer, and no other.
#include "../fixture.h"
#include "native.h"

#include "about/about_window.h"
#include "prompt/form1.h"
#include "toolkit/program.h"

namespace {

int g_lostFocus = 0;

LRESULT CALLBACK countLostFocus(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->message == WM_COMMAND && HIWORD(m->wParam) == EN_KILLFOCUS)
        ++g_lostFocus;
    return CallNextHookEx(nullptr, code, wp, lp);
}

using Win32PeerTest = WindowTest;

// A text box that goes with the focus tells its window so after its peer is gone; the window's
// own peer is no text box's.
TEST_F(Win32PeerTest, ATextBoxWithoutPeerIsNoOnesControl) {
    toolkit::Instance<Form1>().Show();
    关于& a = toolkit::Instance<关于>();
    a.Show();
    const std::vector<HWND> log = native::Windows(L"Edit", a.hWnd());
    ASSERT_EQ(log.size(), 1u);
    SetFocus(log.front());
    ASSERT_EQ(GetFocus(), log.front());
    g_lostFocus = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, countLostFocus, nullptr, GetCurrentThreadId());
    driver::Close(a);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(toolkit::LoadedInstance<关于>(), nullptr);
    EXPECT_EQ(g_lostFocus, 1) << "the change log said it lost the focus as it went";

    // The same, stayed for: a text box of no peer on a window asks it for its colours and
    // reports changes. The window answers as any window does and takes nothing for a peer.
    关于& again = toolkit::Instance<关于>();
    const auto window = reinterpret_cast<HWND>(again.hWnd());
    HWND stray = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, window,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(stray);
    HDC dc = GetDC(stray);
    const LRESULT system = DefWindowProcW(window, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(stray));
    EXPECT_EQ(SendMessageW(window, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(stray)), system);
    for (const WORD code : {EN_SETFOCUS, EN_CHANGE, EN_KILLFOCUS})
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(0, code), LPARAM(stray));
    ReleaseDC(stray, dc);
    DestroyWindow(stray);
    EXPECT_EQ(toolkit::LoadedInstance<关于>(), &again);
}

} // namespace
