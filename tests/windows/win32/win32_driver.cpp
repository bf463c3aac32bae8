// The test driver on plain Win32: controls are the form's child windows, reached through their
// peers; dialogs and menus are answered from a thread timer, which every modal loop of the system
// dispatches.
#include "../driver.h"

#include "annotations.h"
#include "toolkit/control.h"
#include "toolkit/realisation.h"
#include "toolkit/win32/win32_store.h"
#include "toolkit/win32/win32_text.h"
#include "toolkit/win32/win32_window_peer.h"
#include "toolkit/window.h"

#include <windows.h>

#include <colordlg.h>
#include <dlgs.h>
#include <oleacc.h>

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

HWND g_elsewhere = nullptr; // a window of some other program

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

void Prepare() {
    RecordAnnotations();
}

void Finish() {
    RegDeleteTreeW(HKEY_CURRENT_USER, testRoot().c_str());
}

void Reset() {
    if (g_elsewhere)
        ShowWindow(g_elsewhere, SW_HIDE);
    ForgetAnnotations();
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

namespace {

bool isClass(HWND hwnd, const wchar_t* cls) {
    return lstrcmpiW(classOf(hwnd).c_str(), cls) == 0;
}

// The label Windows finds for a control without a caption of its own: the nearest static text
// before it in the z-order, unless a control that starts a tab group comes first.
HWND labelOf(HWND control) {
    for (HWND h = GetWindow(control, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) {
        if (isClass(h, L"Static"))
            return h;
        if ((GetWindowLongW(h, GWL_STYLE) & (WS_GROUP | WS_TABSTOP)) == (WS_GROUP | WS_TABSTOP))
            return nullptr;
    }
    return nullptr;
}

Role roleOf(HWND hwnd, bool window) {
    switch (AnnotatedRole(hwnd)) {
    case ROLE_SYSTEM_LINK:
        return Role::Link;
    case ROLE_SYSTEM_DIALOG:
        return Role::Dialog;
    }
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (window)
        return Role::Window;
    if (isClass(hwnd, L"Edit"))
        return Role::Text;
    if (isClass(hwnd, L"ComboBox"))
        return Role::List;
    if (isClass(hwnd, L"Button"))
        return (style & BS_TYPEMASK) == BS_GROUPBOX ? Role::Other : Role::Button;
    if (isClass(hwnd, L"Static"))
        return (style & SS_TYPEMASK) == SS_BITMAP ? Role::Other : Role::Label;
    return Role::Other;
}

// What Windows tells assistive tools, once one has asked the window for its object: the
// annotations the program made then, and else what the class says.
Accessible describe(HWND hwnd, bool window) {
    SendMessageW(hwnd, WM_GETOBJECT, 0, OBJID_CLIENT);
    const bool captioned = window || isClass(hwnd, L"Button") || isClass(hwnd, L"Static");
    const HWND label = captioned ? nullptr : labelOf(hwnd);
    Accessible a;
    a.label = label ? textOf(label) : "";
    a.role = roleOf(hwnd, window);
    const std::wstring annotated = AnnotatedName(hwnd);
    a.name = !annotated.empty() ? U8(annotated.c_str()) : captioned ? textOf(hwnd) : a.label;
    return a;
}

// Where the keyboard focus is: a window of this thread.
HWND focus() {
    HWND f = GetFocus();
    if (!f)
        f = GetForegroundWindow();
    if (!f || GetWindowThreadProcessId(f, nullptr) != GetCurrentThreadId())
        throw std::runtime_error("nothing of the program has the keyboard focus");
    return f;
}

// Down and up, through the program's own message routing; shift held if asked.
void key(UINT vk, bool shift) {
    const HWND target = focus();
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE before = state[VK_SHIFT];
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    const bool system = vk == VK_F10;
    for (const bool down : {true, false}) {
        if (!IsWindow(target))
            break;
        MSG msg{};
        msg.hwnd = target;
        msg.message =
            system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
        msg.wParam = vk;
        msg.lParam = down ? 1 : LPARAM(0xC0000001);
        if (!toolkit::win32::Win32WindowPeer::dialogKey(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Pump();
    }
    GetKeyboardState(state);
    state[VK_SHIFT] = before;
    SetKeyboardState(state);
}

} // namespace

Accessible Describe(toolkit::Window& window) {
    return describe(hwndOf(window), true);
}

Accessible Describe(toolkit::Control& control) {
    return describe(hwndOf(control), false);
}

// The Menu key reaches the window with the focus as the context menu message it turns into, with
// no place; Shift+F10 goes the way of any key, through the window's default handling.
void Press(Key k) {
    if (k != Key::Menu)
        return key(k == Key::Escape ? VK_ESCAPE
                   : k == Key::Tab  ? VK_TAB
                                    : VK_F10,
                   k == Key::ShiftF10);
    const HWND target = focus();
    SendMessageW(target, WM_CONTEXTMENU, WPARAM(target), LPARAM(-1));
    Pump();
}

bool Focused(toolkit::Control& control) {
    const HWND h = hwndOf(control);
    const HWND f = GetFocus();
    return f && (f == h || IsChild(h, f)) && GetForegroundWindow() == GetAncestor(h, GA_ROOT);
}

void FocusElsewhere() {
    if (!g_elsewhere)
        g_elsewhere = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP, 0, 0, 50, 50, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(g_elsewhere, SW_SHOW);
    SetForegroundWindow(g_elsewhere);
    SetFocus(g_elsewhere);
    Pump();
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
