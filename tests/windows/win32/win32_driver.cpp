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

UINT_PTR g_timer = 0;
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
        seen = {Modal::Colour, "", "", 0, 0};
        for (const int part : {0, 1, 2}) // red, green, blue
            seen.colour |=
                int32_t(GetDlgItemInt(open, COLOR_RED + part, nullptr, FALSE) << 8 * part);
    } else if (GetDlgItem(open, cmb1) && GetDlgItem(open, cmb3)) {
        seen.kind = Modal::Font;
        wchar_t text[16] = {};
        GetDlgItemTextW(open, cmb3, text, 16);
        seen.points = _wtof(text);
    } else {
        seen = {Modal::Message, textOf(open), textOf(GetDlgItem(open, 0xFFFF)), -1, 0};
    }
    if (p.shown)
        *p.shown = seen;
    const Reply& r = p.reply;
    if (r.whileOpen)
        r.whileOpen();
    // What the answer opens in turn is answered by the next one.
    Schedule();
    // As a person with the keyboard: down to the item, then Enter.
    for (int i = 0; menu && i <= r.item; ++i)
        PostMessageW(open, WM_KEYDOWN, VK_DOWN, 0);
    if (menu)
        return (void)(r.item < 0 ? EndMenu() : PostMessageW(open, WM_CHAR, L'\r', 0));
    for (const int part : {0, 1, 2})
        if (r.colour)
            SetDlgItemInt(open, COLOR_RED + part, (*r.colour >> 8 * part) & 0xFF, FALSE);
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
    const HWND open = openModal();
    if (const auto p = Next(open))
        answer(open, *p);
}

} // namespace

void Schedule() {
    if (g_timer)
        KillTimer(nullptr, g_timer);
    g_timer = g_pending.empty() ? 0 : SetTimer(nullptr, 0, 10, fire);
}

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
        if (msg.message != WM_QUIT)
            TranslateMessage(&msg), DispatchMessageW(&msg);
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

// The annotated role, else the window's or the class's (group boxes and pictures are not told
// apart: no test asks for them).
Role roleOf(HWND hwnd, bool window) {
    const long annotated = AnnotatedRole(hwnd);
    if (annotated == ROLE_SYSTEM_LINK || annotated == ROLE_SYSTEM_DIALOG)
        return annotated == ROLE_SYSTEM_LINK ? Role::Link : Role::Dialog;
    const std::pair<const wchar_t*, Role> classes[] = {{L"Edit", Role::Text},
                                                       {L"ComboBox", Role::List},
                                                       {L"Button", Role::Button},
                                                       {L"Static", Role::Label}};
    for (const auto& [cls, role] : classes)
        if (!window && isClass(hwnd, cls))
            return role;
    return window ? Role::Window : Role::Other;
}

// What Windows tells assistive tools, once one has asked the window for its object: the
// annotations the program made then, and else what the class says.
Accessible describe(HWND hwnd, bool window) {
    SendMessageW(hwnd, WM_GETOBJECT, 0, OBJID_CLIENT);
    const bool captioned = window || isClass(hwnd, L"Button") || isClass(hwnd, L"Static");
    const HWND label = captioned ? nullptr : labelOf(hwnd);
    Accessible a{"", roleOf(hwnd, window), label ? textOf(label) : ""};
    const std::wstring annotated = AnnotatedName(hwnd);
    a.name = !annotated.empty() ? U8(annotated.c_str()) : captioned ? textOf(hwnd) : a.label;
    return a;
}

} // namespace

Accessible Describe(toolkit::Window& window) {
    return describe(hwndOf(window), true);
}

Accessible Describe(toolkit::Control& control) {
    return describe(hwndOf(control), false);
}

// The Menu key reaches the window with the focus as the context menu message it turns into, with
// no place; other keys go down and up through the program's own message routing, Shift held for
// Shift+F10 (a system key).
void Press(Key k) {
    HWND target = GetFocus();
    if (!target)
        target = GetForegroundWindow();
    if (!target || GetWindowThreadProcessId(target, nullptr) != GetCurrentThreadId())
        throw std::runtime_error("nothing of the program has the keyboard focus");
    if (k == Key::Menu)
        return SendMessageW(target, WM_CONTEXTMENU, WPARAM(target), LPARAM(-1)), Pump();
    const UINT vk = k == Key::Escape ? VK_ESCAPE : k == Key::Tab ? VK_TAB : VK_F10;
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE shift = state[VK_SHIFT];
    state[VK_SHIFT] = k == Key::ShiftF10 ? 0x80 : 0;
    SetKeyboardState(state);
    for (const bool up : {false, true}) {
        MSG msg{target, UINT((k == Key::ShiftF10 ? WM_SYSKEYDOWN : WM_KEYDOWN) + up),
                vk,     up ? LPARAM(0xC0000001) : 1,
                0,      {}};
        if (!IsWindow(target))
            break;
        if (!toolkit::win32::Win32WindowPeer::dialogKey(msg))
            TranslateMessage(&msg), DispatchMessageW(&msg);
        Pump();
    }
    GetKeyboardState(state);
    state[VK_SHIFT] = shift;
    SetKeyboardState(state);
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
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, nullptr));)
        if (IsWindowVisible(h) && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId())
            return true;
    return false;
}

} // namespace driver
