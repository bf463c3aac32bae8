// The test driver on plain Win32: controls are the form's child windows, reached through their
// peers; dialogs and menus are answered from a thread timer, which every modal loop of the system
// dispatches.
#include "../driver.h"

#include "toolkit/control.h"
#include "toolkit/realisation.h"
#include "toolkit/win32/win32_store.h"
#include "toolkit/win32/win32_text.h"
#include "toolkit/window.h"

#include <windows.h>

#include <colordlg.h>
#include <dlgs.h>

#include <deque>
#include <stdexcept>

namespace driver {

namespace {

using toolkit::win32::U8;
using toolkit::win32::W;

std::string textOf(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(size_t(n) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), n + 1);
    return U8(text.c_str());
}

std::wstring classOf(HWND hwnd) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return cls;
}

HWND hwndOf(toolkit::Window& window) {
    const auto h = reinterpret_cast<HWND>(window.hWnd());
    if (!h || !IsWindow(h))
        throw std::runtime_error("the window has no native peer");
    return h;
}

// The peer belongs to the control; a derived class may name it.
struct PeerOf : toolkit::Control {
    static toolkit::ControlPeer* get(toolkit::Control& c) { return (c.*(&PeerOf::m_peer)).get(); }
};

// Controls are the window's children, whatever contains them.
HWND hwndOf(toolkit::Control& control) {
    const auto peer = reinterpret_cast<LONG_PTR>(PeerOf::get(control));
    for (HWND h = nullptr;
         peer && (h = FindWindowExW(hwndOf(control.window()), h, nullptr, nullptr));)
        if (GetWindowLongPtrW(h, GWLP_USERDATA) == peer)
            return h;
    throw std::runtime_error("the control has no native peer");
}

// Each test keeps its settings in a key tree of its own under this one.
std::wstring testRoot() {
    return L"Software\\kelm-window-tests-" + std::to_wstring(GetCurrentProcessId());
}
int g_generation = 0;
std::wstring currentStore() {
    return testRoot() + L"\\store" + std::to_wstring(g_generation);
}
void useStore(const std::wstring& root) {
    auto& store =
        dynamic_cast<toolkit::win32::RegistryStore&>(toolkit::CurrentRealisation().store());
    store.setRoot(root);
}

struct Pending {
    Reply reply;
    Shown* shown;
};
std::deque<Pending> g_pending;

UINT_PTR g_timer = 0;
void schedule();

// The open menu, or else the topmost dialog that takes input (a dialog under a message box of
// its own is disabled).
HWND openModal() {
    HWND dialog = nullptr;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, nullptr));) {
        if (!IsWindowVisible(h) || GetWindowThreadProcessId(h, nullptr) != GetCurrentThreadId())
            continue;
        const std::wstring cls = classOf(h);
        if (cls == L"#32768")
            return h;
        if (cls == L"#32770" && IsWindowEnabled(h) && !dialog)
            dialog = h;
    }
    return dialog;
}

void setRgb(HWND dialog, int32_t colour) {
    SetDlgItemInt(dialog, COLOR_RED, colour & 0xFF, FALSE);
    SetDlgItemInt(dialog, COLOR_GREEN, (colour >> 8) & 0xFF, FALSE);
    SetDlgItemInt(dialog, COLOR_BLUE, (colour >> 16) & 0xFF, FALSE);
}

// Picks the entry of a dialog's list, or types it where the list lacks it.
void choose(HWND dialog, int list, const std::wstring& entry) {
    const HWND h = GetDlgItem(dialog, list);
    const LRESULT at =
        SendMessageW(h, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(h, CB_SETCURSEL, WPARAM(at), 0);
    if (at == CB_ERR)
        SetWindowTextW(h, entry.c_str());
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
}

void answer(HWND open, const Pending& p) {
    Shown seen;
    const bool menu = classOf(open) == L"#32768";
    if (menu) {
        seen.kind = Modal::Menu;
    } else if (GetDlgItem(open, COLOR_RED)) {
        seen.kind = Modal::Colour;
        seen.colour = int32_t(GetDlgItemInt(open, COLOR_RED, nullptr, FALSE) |
                              GetDlgItemInt(open, COLOR_GREEN, nullptr, FALSE) << 8 |
                              GetDlgItemInt(open, COLOR_BLUE, nullptr, FALSE) << 16);
    } else if (GetDlgItem(open, cmb1) && GetDlgItem(open, cmb3)) {
        seen.kind = Modal::Font;
        wchar_t text[16] = {};
        GetDlgItemTextW(open, cmb3, text, 16);
        seen.points = _wtof(text);
    } else {
        seen.kind = Modal::Message;
        seen.title = textOf(open);
        seen.text = textOf(GetDlgItem(open, 0xFFFF));
    }
    if (p.shown)
        *p.shown = seen;
    const Reply& r = p.reply;
    if (r.whileOpen)
        r.whileOpen();
    // What the answer opens in turn is answered by the next one.
    schedule();
    if (menu && r.item < 0)
        return (void)EndMenu();
    // As a person with the keyboard: down to the item, then Enter.
    for (int i = 0; menu && i <= r.item; ++i)
        PostMessageW(open, WM_KEYDOWN, VK_DOWN, 0);
    if (menu)
        return (void)PostMessageW(open, WM_CHAR, L'\r', 0);
    if (r.colour)
        setRgb(open, *r.colour);
    if (!r.face.empty()) {
        choose(open, cmb1, W(r.face));
        choose(open, cmb3, std::to_wstring(int(r.points)));
    }
    PostMessageW(open, WM_COMMAND, MAKEWPARAM(r.accept ? IDOK : IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(open, r.accept ? IDOK : IDCANCEL)));
}

void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (id == g_timer)
        g_timer = 0;
    if (g_pending.empty())
        return;
    const HWND open = openModal();
    if (!open) {
        schedule(); // not open yet: the next loop to run is the dialog's
        return;
    }
    const Pending p = g_pending.front();
    g_pending.pop_front();
    answer(open, p);
}

// One timer at a time, so that each answer waits for the dialog its predecessor opens.
void schedule() {
    if (g_timer)
        KillTimer(nullptr, g_timer);
    g_timer = g_pending.empty() ? 0 : SetTimer(nullptr, 0, 10, fire);
}

} // namespace

void Prepare() {}

void Finish() {
    RegDeleteTreeW(HKEY_CURRENT_USER, testRoot().c_str());
}

void Reset() {
    // A program end inside a dialog leaves a quit message for the loop around it; the next
    // test's dialogs must not see it.
    Pump();
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void ClearStore() {
    RegDeleteTreeW(HKEY_CURRENT_USER, currentStore().c_str());
    ++g_generation;
    useStore(currentStore());
}

// A key name longer than 255 characters is refused.
void BreakStore() {
    useStore(testRoot() + L"\\" + std::wstring(300, L'k'));
}

void RepairStore() {
    useStore(currentStore());
}

void Answer(Reply reply, Shown* shown) {
    g_pending.push_back({std::move(reply), shown});
    if (g_pending.size() == 1)
        schedule();
}

int Unanswered() {
    const int n = static_cast<int>(g_pending.size());
    g_pending.clear();
    schedule();
    return n;
}

// The press may end the program and take the window with it.
void Click(toolkit::Control& control, Button button, int x, int y) {
    const HWND hwnd = hwndOf(control);
    const bool left = button == Button::Left;
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(hwnd, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at);
    if (IsWindow(hwnd) && IsWindowVisible(hwnd))
        SendMessageW(hwnd, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
}

void Close(toolkit::Window& window) {
    SendMessageW(hwndOf(window), WM_CLOSE, 0, 0);
}

void Place(toolkit::Window& window, int x, int y, int width, int height) {
    SetWindowPos(hwndOf(window), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowState Native(toolkit::Window& window) {
    const HWND h = hwndOf(window);
    RECT client;
    GetClientRect(h, &client);
    WindowState st{client.right, client.bottom, bool(IsWindowVisible(h))};
    st.passThrough = (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
    st.active = GetForegroundWindow() == h;
    BYTE alpha = 255;
    DWORD flags = 0;
    if ((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED) &&
        GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
        st.alpha = alpha;
    return st;
}

bool ShowingActivates() {
    return false;
}

bool Enabled(toolkit::Control& control) {
    return IsWindowEnabled(hwndOf(control));
}

bool AnythingShown() {
    bool shown = false;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM found) -> BOOL {
            *reinterpret_cast<bool*>(found) |= IsWindowVisible(h) != 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

} // namespace driver
