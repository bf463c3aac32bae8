#include "win32_window_peer.h"

#include "toolkit/units.h"
#include "toolkit/window.h"
#include "win32_accessible.h"
#include "win32_controls.h"
#include "win32_input.h"
#include "win32_styles.h"
#include "win32_text.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace toolkit::win32 {

namespace {

constexpr wchar_t kClass[] = L"KelmWindow";
std::vector<Win32WindowPeer*> g_peers;

LPCWSTR cursorFor(int16_t shape) {
    switch (shape) {
    case 9:
        return IDC_SIZEWE;
    case 7:
        return IDC_SIZENS;
    case 3:
        return IDC_IBEAM;
    case 11:
        return IDC_WAIT;
    default:
        return IDC_ARROW;
    }
}

} // namespace

void Win32WindowPeer::registerClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
}

Win32WindowPeer::Win32WindowPeer(const WindowDesign& design, WindowSink& sink, double twipsPerPixel,
                                 HWND owner)
    : m_sink(&sink), m_tpp(twipsPerPixel), m_tabs(design.border != BorderStyle::None),
      // A window without a frame is the prompt: a text box in colours of its own.
      m_styled(design.border != BorderStyle::None), m_escapeCloses(design.escapeCloses),
      m_role(design.border == BorderStyle::FixedDialog ? kRoleDialog : 0) {
    switch (design.border) {
    case BorderStyle::None:
        m_style = WS_POPUP;
        break;
    case BorderStyle::FixedDialog:
        m_style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        m_exStyle = WS_EX_DLGMODALFRAME;
        break;
    case BorderStyle::FixedSingle:
        m_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    }
    if (design.showInTaskbar)
        m_exStyle |= WS_EX_APPWINDOW;
    else if (design.border == BorderStyle::None)
        m_exStyle |= WS_EX_TOOLWINDOW;
    else
        m_exStyle |= WS_EX_CONTROLPARENT; // owned by the hidden window: no taskbar button
    m_hwnd = CreateWindowExW(m_exStyle, kClass, W(design.caption).c_str(), m_style, 0, 0, 1, 1,
                             (m_exStyle & WS_EX_CONTROLPARENT) ? owner : nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    g_peers.push_back(this);
    if (design.backColor)
        setBackColor(*design.backColor);
    else {
        m_back = GetSysColor(COLOR_3DFACE);
        m_backBrush = CreateSolidBrush(m_back);
    }
    m_applying = false;
}

Win32WindowPeer::~Win32WindowPeer() {
    std::erase(g_peers, this);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    if (GetCapture() == m_hwnd)
        ReleaseCapture();
    DestroyWindow(m_hwnd);
    DeleteObject(m_backBrush);
}

Win32WindowPeer* Win32WindowPeer::find(uintptr_t handle) {
    for (Win32WindowPeer* p : g_peers)
        if (p->nativeHandle() == handle)
            return p;
    return nullptr;
}

// Sizes are of the client area; the frame, if any, goes around it.
void Win32WindowPeer::setGeometry(float left, float top, float width, float height) {
    RECT r{0, 0, ToPixels(width, m_tpp), ToPixels(height, m_tpp)};
    AdjustWindowRectEx(&r, m_style, FALSE, m_exStyle);
    m_applying = true;
    SetWindowPos(m_hwnd, nullptr, ToPixels(left, m_tpp), ToPixels(top, m_tpp), r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    m_applying = false;
}

void Win32WindowPeer::setBackColor(int32_t color) {
    if (m_backBrush)
        DeleteObject(m_backBrush);
    m_back = COLORREF(color);
    m_backBrush = CreateSolidBrush(m_back);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Win32WindowPeer::setMousePointer(int16_t shape) {
    m_cursor = shape == 0 ? nullptr : LoadCursorW(nullptr, cursorFor(shape));
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) == m_hwnd)
        SetCursor(m_cursor ? m_cursor : LoadCursorW(nullptr, IDC_ARROW));
}

void Win32WindowPeer::show() {
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void Win32WindowPeer::showInactive() {
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32WindowPeer::hide() {
    ShowWindow(m_hwnd, SW_HIDE);
}

// Only a layered window lets the pointer through; one made layered for that alone is drawn
// opaque, and goes back to what it was when the pointer is given back.
void Win32WindowPeer::setPassThrough(bool on) {
    LONG style = GetWindowLongW(m_hwnd, GWL_EXSTYLE);
    if (on) {
        if (!(style & WS_EX_LAYERED)) {
            m_layeredToPassThrough = true;
            SetWindowLongW(m_hwnd, GWL_EXSTYLE, style | WS_EX_LAYERED | WS_EX_TRANSPARENT);
            SetLayeredWindowAttributes(m_hwnd, 0, 255, LWA_ALPHA);
            return;
        }
        style |= WS_EX_TRANSPARENT;
    } else {
        style &= ~WS_EX_TRANSPARENT;
        if (m_layeredToPassThrough)
            style &= ~WS_EX_LAYERED;
        m_layeredToPassThrough = false;
    }
    SetWindowLongW(m_hwnd, GWL_EXSTYLE, style);
}

bool Win32WindowPeer::hasFocus() const {
    return GetForegroundWindow() == m_hwnd;
}

void Win32WindowPeer::takeFocus() {
    if (!IsWindowVisible(m_hwnd))
        return;
    if (GetForegroundWindow() != m_hwnd)
        SetForegroundWindow(m_hwnd); // activation gives the focus to its control
    else
        restoreFocus();
}

// The focus belongs to a window's child, not to what is inside it: the edit field of a list.
void Win32WindowPeer::focusOnActivation(HWND control) {
    if (!control || !IsChild(m_hwnd, control))
        return;
    while (GetParent(control) != m_hwnd)
        control = GetParent(control);
    m_focus = control;
}

// Windows gives an activated window the focus itself, where typing goes nowhere: the control
// that had it gets it back, or else the first that takes it, as in a dialog.
bool Win32WindowPeer::restoreFocus() {
    HWND to = m_focus && IsWindow(m_focus) && IsWindowEnabled(m_focus) ? m_focus : nullptr;
    for (HWND c = GetWindow(m_hwnd, GW_CHILD); !to && c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongW(c, GWL_STYLE) & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) ==
            (WS_TABSTOP | WS_VISIBLE))
            to = c;
    if (to)
        SetFocus(to);
    return to != nullptr;
}

bool Win32WindowPeer::dialogKey(MSG& msg) {
    const HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    Win32WindowPeer* peer = top ? find(uintptr_t(top)) : nullptr;
    return peer && peer->tabs() && IsDialogMessageW(top, &msg);
}

int Win32WindowPeer::popupMenu(const std::vector<std::string>& captions,
                               const std::optional<Point>& at) {
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < captions.size(); ++i)
        AppendMenuW(menu, MF_STRING, i + 1, W(captions[i]).c_str());
    POINT p;
    if (at) {
        p = {ToPixels(at->x, m_tpp), ToPixels(at->y, m_tpp)};
        ClientToScreen(m_hwnd, &p);
    } else {
        GetCursorPos(&p);
    }
    // A menu closes when its owner stops being the foreground window.
    SetForegroundWindow(m_hwnd);
    ModalLoop loop;
    const auto alive = m_alive.token();
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, p.x,
                                      p.y, 0, m_hwnd, nullptr);
    DestroyMenu(menu);
    // The program may have unloaded the window inside the menu's loop: an item chosen then
    // has no window left to act on.
    if (!*alive)
        return -1;
    PostMessageW(m_hwnd, WM_NULL, 0, 0);
    return chosen - 1;
}

std::unique_ptr<ControlPeer> Win32WindowPeer::createControl(const ControlDesign& design,
                                                            ControlSink& sink,
                                                            ControlPeer* container) {
    VisualStyles styles(m_styled);
    return std::make_unique<Win32ControlPeer>(design, sink, *this,
                                              dynamic_cast<Win32ControlPeer*>(container));
}

// The window follows the pointer itself: a window manager's move starts only when it gets the
// request, and a button released before that leaves it moving the window with no button held.
void Win32WindowPeer::requestMove() {
    const DWORD at = GetMessagePos();
    const POINT cursor{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (m_moving)
        return;
    if (!m_anchored) {
        RECT r;
        GetWindowRect(m_hwnd, &r);
        m_anchored = true;
        m_anchorCursor = cursor;
        m_anchorWindow = {r.left, r.top};
        return;
    }
    if (cursor.x == m_anchorCursor.x && cursor.y == m_anchorCursor.y)
        return;
    m_anchored = false;
    m_moving = true;
    ++m_moves;
    SetCapture(m_hwnd);
    follow(cursor); // catch up with the travel so far
}

void Win32WindowPeer::follow(POINT cursor) {
    SetWindowPos(m_hwnd, nullptr, m_anchorWindow.x + cursor.x - m_anchorCursor.x,
                 m_anchorWindow.y + cursor.y - m_anchorCursor.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::setTopmost() {
    SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32WindowPeer::setAlpha(uint8_t alpha) {
    m_layeredToPassThrough = false; // the window stays layered from now on
    SetWindowLongW(m_hwnd, GWL_EXSTYLE, GetWindowLongW(m_hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(m_hwnd, 0, alpha, LWA_ALPHA);
}

void Win32WindowPeer::geometryChanged() {
    if (m_applying || IsIconic(m_hwnd))
        return;
    RECT outer, client;
    GetWindowRect(m_hwnd, &outer);
    GetClientRect(m_hwnd, &client);
    m_sink->nativeGeometry(ToTwips(outer.left, m_tpp), ToTwips(outer.top, m_tpp),
                           ToTwips(client.right, m_tpp), ToTwips(client.bottom, m_tpp));
}

void Win32WindowPeer::mouse(MouseKind kind, int16_t button, WPARAM wp, LPARAM lp) {
    MouseArgs a;
    a.Button = button;
    a.Shift = ShiftMask(wp);
    a.X = ToTwips(GET_X_LPARAM(lp), m_tpp);
    a.Y = ToTwips(GET_Y_LPARAM(lp), m_tpp);
    m_sink->nativeMouse(kind, a);
}

LRESULT CALLBACK Win32WindowPeer::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* peer = reinterpret_cast<Win32WindowPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!peer)
        return DefWindowProcW(hwnd, msg, wp, lp);
    return peer->handle(msg, wp, lp);
}

// Every branch that calls into the program returns straight after: its handler may have
// destroyed this peer.
LRESULT Win32WindowPeer::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_moving) {
        switch (msg) {
        case WM_MOUSEMOVE: {
            const DWORD at = GetMessagePos();
            follow({GET_X_LPARAM(at), GET_Y_LPARAM(at)});
            return 0;
        }
        case WM_LBUTTONUP:
            m_moving = false;
            ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            m_moving = false;
            break;
        }
    }
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(m_hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, m_backBrush);
        return 1;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (auto* c = Win32ControlPeer::fromHandle(reinterpret_cast<HWND>(lp)))
            if (HBRUSH b = c->colour(reinterpret_cast<HDC>(wp)))
                return reinterpret_cast<LRESULT>(b);
        break;
    case WM_COMMAND:
        if (lp) {
            if (auto* c = Win32ControlPeer::fromHandle(reinterpret_cast<HWND>(lp)))
                c->command(HIWORD(wp));
            return 0;
        }
        // Escape, from the dialog manager: no control has the ID it names.
        if (LOWORD(wp) == IDCANCEL && m_escapeCloses) {
            m_sink->nativeCloseRequested();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE)
            focusOnActivation(GetFocus());
        else if (!IsIconic(m_hwnd) && restoreFocus())
            return 0;
        break;
    case WM_GETOBJECT:
        if (!m_annotated && m_role) {
            m_annotated = true;
            Annotate(m_hwnd, {}, m_role);
        }
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == m_hwnd && LOWORD(lp) == HTCLIENT && m_cursor) {
            SetCursor(m_cursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        pointerPressed();
        SetCapture(m_hwnd);
        mouse(MouseKind::Down, msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4, wp, lp);
        return 0;
    case WM_MOUSEMOVE:
        mouse(MouseKind::Move, HeldButtons(wp), wp, lp);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (HeldButtons(wp) == 0 && GetCapture() == m_hwnd)
            ReleaseCapture();
        mouse(MouseKind::Up, msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4, wp, lp);
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        geometryChanged();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {1, 1};
        return 0;
    case WM_CLOSE:
        // Whether the window goes is the program's decision, made through its unload handling.
        m_sink->nativeCloseRequested();
        return 0;
    }
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

} // namespace toolkit::win32
