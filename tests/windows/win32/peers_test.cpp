// Win32: what a window hears from a child control reaches that control's peer, and no other.
#include "../fixture.h"

#include "about/about_window.h"

#include <windows.h>

namespace {

using Win32PeerTest = WindowTest;

// A text box of no peer on a window (as a text box whose peer is gone, when it loses the focus as
// it is destroyed) asks it for its colours and reports changes. The window answers as any window
// does and takes nothing for a peer: its own peer is no text box's.
TEST_F(Win32PeerTest, ATextBoxWithoutPeerIsNoOnesControl) {
    关于& about = toolkit::Instance<关于>();
    const auto window = reinterpret_cast<HWND>(about.hWnd());
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
    EXPECT_EQ(toolkit::LoadedInstance<关于>(), &about);
}

} // namespace
