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
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <deque>
#include <map>
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

HWND hwndOf(toolkit::Control& control) {
    struct Search {
        LONG_PTR peer;
        HWND found = nullptr;
    } s{reinterpret_cast<LONG_PTR>(PeerOf::get(control))};
    if (s.peer)
        EnumChildWindows(
            hwndOf(control.window()),
            [](HWND h, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                if (GetWindowLongPtrW(h, GWLP_USERDATA) != s->peer)
                    return TRUE;
                s->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
    if (!s.found)
        throw std::runtime_error("the control has no native peer");
    return s.found;
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

// The shell's pages are taken at the exe's import of ShellExecuteW instead of a browser.
std::vector<std::string> g_opened;
HINSTANCE WINAPI recordOpen(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    g_opened.push_back(U8(file));
    return reinterpret_cast<HINSTANCE>(33);
}

void catchShellOpen() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         imp->Name; ++imp) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), "ShellExecuteW") != 0)
                continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&recordOpen);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return;
        }
    }
    throw std::runtime_error("the exe does not import ShellExecuteW");
}

// The colour dialog keeps its custom colours in the caller's structure, handed to it at
// WM_INITDIALOG: seen here on the way in.
std::map<HWND, CHOOSECOLORW*> g_colourDialogs;
HHOOK g_hook = nullptr;
LRESULT CALLBACK watch(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->message == WM_INITDIALOG && GetDlgItem(m->hwnd, COLOR_RED))
        g_colourDialogs[m->hwnd] = reinterpret_cast<CHOOSECOLORW*>(m->lParam);
    return CallNextHookEx(g_hook, code, wp, lp);
}

struct Pending {
    Reply reply;
    Shown* shown;
};
std::deque<Pending> g_pending;

UINT_PTR g_timer = 0;
void schedule();

// The open menu, or else the dialog that takes input (a dialog under a message box of its own
// is disabled).
HWND openModal() {
    struct Found {
        HWND menu = nullptr, dialog = nullptr;
    } f;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Found*>(lp);
            if (!IsWindowVisible(h))
                return TRUE;
            const std::wstring cls = classOf(h);
            if (cls == L"#32768")
                f->menu = h;
            else if (cls == L"#32770" && IsWindowEnabled(h) && !f->dialog)
                f->dialog = h;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.menu ? f.menu : f.dialog;
}

bool informationIcon(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && classOf(c) == L"Static" &&
            reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)) ==
                LoadIconW(nullptr, IDI_ASTERISK))
            return true;
    return false;
}

uintptr_t ownerOf(HWND dialog) {
    return reinterpret_cast<uintptr_t>(GetWindow(dialog, GW_OWNER));
}

void setRgb(HWND dialog, int32_t colour) {
    SetDlgItemInt(dialog, COLOR_RED, colour & 0xFF, FALSE);
    SetDlgItemInt(dialog, COLOR_GREEN, (colour >> 8) & 0xFF, FALSE);
    SetDlgItemInt(dialog, COLOR_BLUE, (colour >> 16) & 0xFF, FALSE);
}

void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void answerMenu(HWND menuWindow, const Pending& p) {
    Shown seen;
    seen.kind = Modal::Menu;
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, UINT(i), text, 256, MF_BYPOSITION);
        seen.items.push_back(U8(text));
    }
    if (p.shown)
        *p.shown = seen;
    const Reply& r = p.reply;
    if (r.whileOpen)
        r.whileOpen();
    schedule();
    if (!r.accept || r.item < 0 || r.item >= count) {
        EndMenu();
        return;
    }
    // As a person with the keyboard: down to the item, then Enter.
    for (int i = 0; i <= r.item; ++i)
        PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuWindow, WM_CHAR, L'\r', 0);
}

void answerDialog(HWND dialog, const Pending& p) {
    Shown seen;
    seen.owner = ownerOf(dialog);
    if (GetDlgItem(dialog, COLOR_RED)) {
        seen.kind = Modal::Colour;
        seen.colour = int32_t(GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE) |
                              GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE) << 8 |
                              GetDlgItemInt(dialog, COLOR_BLUE, nullptr, FALSE) << 16);
        const auto cc = g_colourDialogs.find(dialog);
        seen.customBlack = cc != g_colourDialogs.end();
        for (int i = 0; seen.customBlack && i < 16; ++i)
            seen.customBlack = cc->second->lpCustColors[i] == 0;
    } else if (GetDlgItem(dialog, cmb1) && GetDlgItem(dialog, cmb3)) {
        seen.kind = Modal::Font;
        wchar_t text[LF_FACESIZE + 8] = {};
        GetDlgItemTextW(dialog, cmb1, text, LF_FACESIZE + 8);
        seen.face = U8(text);
        GetDlgItemTextW(dialog, cmb3, text, LF_FACESIZE + 8);
        seen.points = _wtof(text);
    } else {
        seen.kind = Modal::Message;
        seen.title = textOf(dialog);
        seen.text = textOf(GetDlgItem(dialog, 0xFFFF));
        seen.information = informationIcon(dialog);
    }
    if (p.shown)
        *p.shown = seen;
    const Reply& r = p.reply;
    if (r.whileOpen)
        r.whileOpen();
    // What the answer opens in turn is answered by the next one.
    schedule();
    if (seen.kind == Modal::Colour) {
        if (r.custom) {
            setRgb(dialog, *r.custom);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(COLOR_ADD, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, COLOR_ADD)));
        }
        if (r.colour)
            setRgb(dialog, *r.colour);
    } else if (seen.kind == Modal::Font && !r.face.empty()) {
        const HWND faces = GetDlgItem(dialog, cmb1);
        const LRESULT at = SendMessageW(faces, CB_FINDSTRINGEXACT, WPARAM(-1),
                                        reinterpret_cast<LPARAM>(W(r.face).c_str()));
        SendMessageW(faces, CB_SETCURSEL, WPARAM(at), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(faces));
        // A size from the list is selected there, any other typed.
        const HWND sizes = GetDlgItem(dialog, cmb3);
        const std::wstring size = std::to_wstring(int(r.points));
        const LRESULT listed = SendMessageW(sizes, CB_FINDSTRINGEXACT, WPARAM(-1),
                                            reinterpret_cast<LPARAM>(size.c_str()));
        SendMessageW(sizes, CB_SETCURSEL, WPARAM(listed), 0);
        if (listed == CB_ERR)
            SetWindowTextW(sizes, size.c_str());
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(sizes));
    }
    press(dialog, r.accept ? IDOK : IDCANCEL);
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
    if (classOf(open) == L"#32768")
        answerMenu(open, p);
    else
        answerDialog(open, p);
}

// One timer at a time, so that each answer waits for the dialog its predecessor opens.
void schedule() {
    if (g_timer)
        KillTimer(nullptr, g_timer);
    g_timer = g_pending.empty() ? 0 : SetTimer(nullptr, 0, 10, fire);
}

} // namespace

void Prepare() {
    catchShellOpen();
    g_hook = SetWindowsHookExW(WH_CALLWNDPROC, watch, nullptr, GetCurrentThreadId());
}

void Finish() {
    UnhookWindowsHookEx(g_hook);
    RegDeleteTreeW(HKEY_CURRENT_USER, testRoot().c_str());
}

void Reset() {
    g_opened.clear();
    g_colourDialogs.clear();
    // A program end inside a dialog leaves a quit message for the loop around it; the next
    // test's dialogs must not see it.
    Pump();
}

void Settle() {
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

namespace {
// The press may end the program and take the window with it.
void click(HWND hwnd, Button button, int x, int y) {
    const bool left = button == Button::Left;
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(hwnd, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at);
    if (IsWindow(hwnd) && IsWindowVisible(hwnd))
        SendMessageW(hwnd, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
}
} // namespace

void Click(toolkit::Control& control, Button button, int x, int y) {
    click(hwndOf(control), button, x, y);
}

void Click(toolkit::Window& window, Button button, int x, int y) {
    click(hwndOf(window), button, x, y);
}

void DoubleClick(toolkit::Control& control, int x, int y) {
    const HWND h = hwndOf(control);
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    if (IsWindow(h))
        SendMessageW(h, WM_LBUTTONUP, 0, at);
}

void Type(toolkit::Control& control, const std::string& text) {
    HWND h = hwndOf(control);
    if (classOf(h) == L"ComboBox")
        h = FindWindowExW(h, nullptr, L"Edit", nullptr);
    SendMessageW(h, EM_SETSEL, 0, -1);
    for (wchar_t c : W(text))
        SendMessageW(h, WM_CHAR, c, 1);
}

void Close(toolkit::Window& window) {
    SendMessageW(hwndOf(window), WM_CLOSE, 0, 0);
}

void Place(toolkit::Window& window, int x, int y, int width, int height) {
    SetWindowPos(hwndOf(window), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowState Native(toolkit::Window& window) {
    const HWND h = hwndOf(window);
    WindowState st;
    RECT frame, client;
    GetWindowRect(h, &frame);
    GetClientRect(h, &client);
    st.x = frame.left;
    st.y = frame.top;
    st.width = frame.right - frame.left;
    st.height = frame.bottom - frame.top;
    st.clientWidth = client.right;
    st.clientHeight = client.bottom;
    st.visible = IsWindowVisible(h);
    st.title = textOf(h);
    const LONG style = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
    st.frameless = !(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME));
    st.icon = SendMessageW(h, WM_GETICON, ICON_BIG, 0) || GetClassLongPtrW(h, GCLP_HICON);
    BYTE alpha = 255;
    DWORD flags = 0;
    if ((ex & WS_EX_LAYERED) && GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) &&
        (flags & LWA_ALPHA))
        st.alpha = alpha;
    // The shell's rule for a taskbar button.
    st.inTaskbar = (ex & WS_EX_APPWINDOW) || (!GetWindow(h, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW));
    return st;
}

namespace {
std::string toolTipOf(HWND control) {
    struct Search {
        HWND window, control;
        std::string text;
    } s{GetParent(control), control, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND tip, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (classOf(tip) != TOOLTIPS_CLASSW)
                return TRUE;
            wchar_t text[1024] = {};
            TOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            ti.hwnd = s->window;
            ti.uId = reinterpret_cast<UINT_PTR>(s->control);
            ti.lpszText = text;
            SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
            if (!*text)
                return TRUE;
            s->text = U8(text);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.text;
}

// The colours the window answers the control's WM_CTLCOLOR* with.
void coloursOf(HWND control, ControlState& st) {
    const std::wstring cls = classOf(control);
    const UINT msg = cls == L"Edit" || cls == L"ComboBox" ? WM_CTLCOLOREDIT
                     : cls == L"Button"                   ? WM_CTLCOLORBTN
                                                          : WM_CTLCOLORSTATIC;
    HWND asker = control;
    if (cls == L"ComboBox")
        asker = FindWindowExW(control, nullptr, L"Edit", nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(control), msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(asker)));
    st.fore = int32_t(GetTextColor(dc));
    LOGBRUSH lb{};
    st.back =
        brush && GetObjectW(brush, sizeof lb, &lb) ? int32_t(lb.lbColor) : int32_t(GetBkColor(dc));
    DeleteDC(dc);
}
} // namespace

ControlState Native(toolkit::Control& control) {
    const HWND h = hwndOf(control);
    ControlState st;
    const std::wstring cls = classOf(h);
    if (cls != L"Static" || (GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) <= SS_RIGHT)
        st.text = textOf(h);
    if (cls == L"ComboBox") {
        const int n = int(SendMessageW(h, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::wstring item(size_t(SendMessageW(h, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            st.items.push_back(U8(item.c_str()));
        }
    }
    st.toolTip = toolTipOf(h);
    st.enabled = IsWindowEnabled(h);
    HDC dc = GetDC(h);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    st.face = U8(face);
    coloursOf(h, st);
    return st;
}

std::vector<std::string> Opened() {
    return g_opened;
}

bool FaceInstalled(const std::string& face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, W(face).c_str(), LF_FACESIZE);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &lf,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM lp) -> int {
            *reinterpret_cast<bool*>(lp) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

std::string ChineseFace() {
    for (const char* face : {"微软雅黑", "WenQuanYi Micro Hei"})
        if (FaceInstalled(face))
            return face;
    return "SimSun";
}

} // namespace driver
