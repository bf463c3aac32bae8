#include "win32_controls.h"

#include "toolkit/units.h"
#include "win32_accessible.h"
#include "win32_input.h"
#include "win32_styles.h"
#include "win32_text.h"
#include "win32_window_peer.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace toolkit::win32 {

namespace {

struct NativeKind {
    const wchar_t* cls;
    DWORD style;
};

NativeKind nativeKind(const ControlDesign& d) {
    switch (d.kind) {
    case ControlKind::TextBox:
        if (d.multiLine)
            return {L"EDIT", DWORD(WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                                   (d.verticalScrollBar ? WS_VSCROLL : 0))};
        return {L"EDIT", DWORD(WS_TABSTOP | ES_AUTOHSCROLL | (d.centred ? ES_CENTER : ES_LEFT))};
    case ControlKind::Label:
        return {L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX};
    case ControlKind::ComboBox:
        return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL};
    case ControlKind::Button:
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
    case ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::PictureBox:
        return {L"STATIC", DWORD(SS_BITMAP | SS_NOTIFY | (d.border ? WS_BORDER : 0))};
    case ControlKind::Line:
        return {L"STATIC", SS_LEFT};
    }
    return {L"STATIC", 0};
}

// A picture named "about.png" is the bitmap resource ABOUT.
std::wstring resourceName(const std::string& picture) {
    std::string name = picture.substr(0, picture.find('.'));
    for (char& c : name)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return W(name);
}

// An open drop-down list needs room below the edit field.
constexpr int kListPixels = 200;

// The live control peers. A window's user data holds its own peer, of another type: a
// notification from a window must never find a control peer by that.
std::vector<Win32ControlPeer*> g_controls;

} // namespace

// The windows are designed for 9-point 宋体 with the GB2312 character set.
HFONT DefaultFont() {
    static HFONT font = [] {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(9, dpi, 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = GB2312_CHARSET;
        lstrcpynW(lf.lfFaceName, L"宋体", LF_FACESIZE);
        return CreateFontIndirectW(&lf);
    }();
    return font;
}

Win32ControlPeer::Win32ControlPeer(const ControlDesign& d, ControlSink& sink,
                                   Win32WindowPeer& window, Win32ControlPeer* container)
    : m_kind(d.kind), m_sink(&sink), m_window(window), m_autoSize(d.autoSize),
      m_accessibleName(W(d.accessibleName)), m_role(d.link ? kRoleLink : 0) {
    if (container)
        m_origin = container->m_place;
    const NativeKind k = nativeKind(d);
    const DWORD ex = (d.kind == ControlKind::TextBox && d.border) ? WS_EX_CLIENTEDGE : 0;
    m_hwnd = CreateWindowExW(ex, k.cls, L"", WS_CHILD | WS_VISIBLE | k.style, 0, 0, 1, 1,
                             window.hwnd(), reinterpret_cast<HMENU>(window.nextControlId()),
                             GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    g_controls.push_back(this);
    // A frame lies under the controls it holds.
    if (d.kind == ControlKind::Frame)
        SetWindowPos(m_hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Subclassed by hand: the common controls' helpers would load them for the prompt window.
    m_base = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    if (!d.font) // a font of its own follows: the default one would be realised for nothing
        SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
    if (d.kind == ControlKind::TextBox)
        SendMessageW(m_hwnd, EM_SETLIMITTEXT, 0, 0);
    m_tipText = d.toolTip;
    if (!d.picture.empty()) {
        m_picture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                    resourceName(d.picture).c_str(), IMAGE_BITMAP,
                                                    0, 0, LR_DEFAULTCOLOR));
        SendMessageW(m_hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_picture));
    }
    if (d.font)
        setFont(*d.font);
    if (d.foreColor)
        m_hasFore = true, m_fore = COLORREF(*d.foreColor);
    if (d.backColor)
        setBackColor(*d.backColor);
    setText(d.text);
    if (d.kind == ControlKind::Line)
        setGeometry(d.left, d.top, std::max<float>(d.width - d.left, 1),
                    std::max<float>(d.height - d.top, 1));
    else
        setGeometry(d.left, d.top, d.width, d.height);
}

Win32ControlPeer::~Win32ControlPeer() {
    m_sink = nullptr;
    std::erase(g_controls, this);
    if (m_tip) // first: it subclassed the control after us
        DestroyWindow(m_tip);
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_base));
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
    if (m_font)
        DeleteObject(m_font);
    if (m_picture)
        DeleteObject(m_picture);
    if (m_backBrush)
        DeleteObject(m_backBrush);
}

// A tool tip of the control's own, shown while the pointer rests on it. It is made when the
// pointer first comes (wp and lp are that move's), so that the common controls are loaded then,
// not at the start. It has no owner: Wine leaves a window that is made topmost behind a topmost
// window it owns not topmost.
void Win32ControlPeer::makeToolTip(WPARAM wp, LPARAM lp) {
    {
        VisualStyles styles;
        m_tip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    if (!m_tip)
        return;
    std::wstring wide = W(m_tipText);
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = m_window.hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(m_hwnd);
    ti.lpszText = wide.data();
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    // The tip sees the pointer's later moves itself; this one started the wait for it.
    MSG msg{m_hwnd, WM_MOUSEMOVE, wp, lp, DWORD(GetMessageTime()), {}};
    const DWORD at = GetMessagePos();
    msg.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

Win32ControlPeer* Win32ControlPeer::fromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    for (Win32ControlPeer* c : g_controls)
        if (c->m_hwnd == hwnd)
            return c;
    // The edit field inside a drop-down list speaks for the list.
    wchar_t cls[8] = {};
    if (!GetClassNameW(hwnd, cls, 8) || lstrcmpiW(cls, L"Edit") != 0)
        return nullptr;
    const HWND list = GetParent(hwnd);
    for (Win32ControlPeer* c : g_controls)
        if (c->m_hwnd == list && c->m_kind == ControlKind::ComboBox)
            return c;
    return nullptr;
}

void Win32ControlPeer::setGeometry(float left, float top, float width, float height) {
    const double t = m_window.tpp();
    if (m_kind == ControlKind::Line) {
        width = std::max<float>(width, float(t));
        height = std::max<float>(height, float(t));
    }
    m_place = {m_origin.x + ToPixels(left, t), m_origin.y + ToPixels(top, t)};
    int h = ToPixels(height, t);
    if (m_kind == ControlKind::ComboBox)
        h += kListPixels;
    SetWindowPos(m_hwnd, nullptr, m_place.x, m_place.y, ToPixels(width, t), h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_autoSize)
        fitToText();
}

void Win32ControlPeer::fitToText() {
    const int n = GetWindowTextLengthW(m_hwnd);
    std::wstring text(size_t(n) + 1, L'\0');
    GetWindowTextW(m_hwnd, text.data(), n + 1);
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ old = SelectObject(dc, m_font ? m_font : DefaultFont());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), n, &r, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(m_hwnd, dc);
    SetWindowPos(m_hwnd, nullptr, 0, 0, r.right, r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32ControlPeer::setText(const std::string& text) {
    if (m_kind == ControlKind::Line || m_kind == ControlKind::PictureBox)
        return;
    m_applying = true;
    SetWindowTextW(m_hwnd, W(text).c_str());
    m_applying = false;
    if (m_autoSize)
        fitToText();
}

void Win32ControlPeer::setFont(const Font& font) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = -int(std::lround(font.Size * dpi / 72.0));
    lf.lfWeight = std::clamp(font.Bold ? std::max(font.Weight, 700) : font.Weight, 1, 1000);
    lf.lfItalic = font.Italic;
    lf.lfUnderline = font.Underline;
    lf.lfStrikeOut = font.Strikethrough;
    lf.lfCharSet = BYTE(font.Charset);
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = W(font.Name);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT old = m_font;
    m_font = CreateFontIndirectW(&lf);
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    if (old)
        DeleteObject(old);
    if (m_autoSize)
        fitToText();
}

void Win32ControlPeer::setForeColor(int32_t color) {
    m_hasFore = true;
    m_fore = COLORREF(color);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Win32ControlPeer::setBackColor(int32_t color) {
    m_hasBack = true;
    m_back = COLORREF(color);
    if (m_backBrush)
        DeleteObject(m_backBrush);
    m_backBrush = CreateSolidBrush(m_back);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Win32ControlPeer::setEnabled(bool enabled) {
    EnableWindow(m_hwnd, enabled);
}

void Win32ControlPeer::addItem(const std::string& item) {
    if (m_kind == ControlKind::ComboBox)
        SendMessageW(m_hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item).c_str()));
}

// Windows names a control without a caption of its own by the static text right before it in the
// z-order, which is the tab order too: the label moves there, and the controls that take the
// focus keep their order.
void Win32ControlPeer::setLabel(ControlPeer& label) {
    const HWND l = static_cast<Win32ControlPeer&>(label).m_hwnd;
    const HWND above = GetWindow(m_hwnd, GW_HWNDPREV);
    if (above != l)
        SetWindowPos(l, above ? above : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32ControlPeer::hasFocus() const {
    const HWND f = GetFocus();
    return f && (f == m_hwnd || IsChild(m_hwnd, f));
}

void Win32ControlPeer::setFocus() {
    m_window.focusOnActivation(m_hwnd);
    if (GetForegroundWindow() == m_window.hwnd())
        SetFocus(m_hwnd);
}

// A one-line edit control takes a paste up to its first line feed, and the carriage return just
// before it.
std::string Win32ControlPeer::pasted(const std::string& text) const {
    const bool oneLine = !(GetWindowLongW(m_hwnd, GWL_STYLE) & ES_MULTILINE);
    const size_t lf = text.find('\n');
    if (m_kind != ControlKind::TextBox || !oneLine || lf == std::string::npos)
        return text;
    return text.substr(0, lf > 0 && text[lf - 1] == '\r' ? lf - 1 : lf);
}

HBRUSH Win32ControlPeer::colour(HDC dc) {
    if (m_hasFore)
        SetTextColor(dc, m_fore);
    if (m_hasBack) {
        SetBkColor(dc, m_back);
        return m_backBrush;
    }
    // Labels, frames and pictures stand on the window's own surface.
    if (m_kind == ControlKind::TextBox || m_kind == ControlKind::ComboBox) {
        if (!m_hasFore)
            return nullptr;
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    SetBkColor(dc, m_window.backColor());
    return m_window.backBrush();
}

void Win32ControlPeer::command(WORD code) {
    if (!m_sink)
        return;
    switch (m_kind) {
    case ControlKind::Button:
        if (code == BN_CLICKED)
            m_sink->nativeClick();
        break;
    case ControlKind::TextBox:
        if (code == EN_CHANGE && !m_applying) {
            const int n = GetWindowTextLengthW(m_hwnd);
            std::wstring text(size_t(n) + 1, L'\0');
            GetWindowTextW(m_hwnd, text.data(), n + 1);
            m_sink->nativeTextEdited(U8(text.c_str(), n));
        }
        break;
    case ControlKind::ComboBox:
        if (code == CBN_EDITCHANGE) {
            const int n = GetWindowTextLengthW(m_hwnd);
            std::wstring text(size_t(n) + 1, L'\0');
            GetWindowTextW(m_hwnd, text.data(), n + 1);
            m_sink->nativeTextEdited(U8(text.c_str(), n));
        } else if (code == CBN_SELCHANGE) {
            // The edit field shows the chosen entry only after this notification.
            const LRESULT i = SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0);
            if (i == CB_ERR)
                break;
            const LRESULT n = SendMessageW(m_hwnd, CB_GETLBTEXTLEN, WPARAM(i), 0);
            std::wstring text(size_t(n) + 1, L'\0');
            SendMessageW(m_hwnd, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
            m_sink->nativeTextEdited(U8(text.c_str(), int(n)));
        }
        break;
    default:
        break;
    }
}

void Win32ControlPeer::report(MouseKind kind, int16_t button, WPARAM wp, LPARAM lp) {
    MouseArgs a;
    a.Button = button;
    a.Shift = ShiftMask(wp);
    a.X = ToTwips(GET_X_LPARAM(lp), m_window.tpp());
    a.Y = ToTwips(GET_Y_LPARAM(lp), m_window.tpp());
    m_sink->nativeMouse(kind, a);
}

LRESULT CALLBACK Win32ControlPeer::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* peer = reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!peer) // never subclassed without a peer; the class's procedure is the control's own
        return CallWindowProcW(reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)),
                               hwnd, msg, wp, lp);
    if (!peer->m_sink)
        return CallWindowProcW(peer->m_base, hwnd, msg, wp, lp);
    return peer->handle(msg, wp, lp);
}

// The program's handlers may destroy this peer; m_alive tells whether it is still there, and
// what the control's own procedure needs is kept aside.
LRESULT Win32ControlPeer::handle(UINT msg, WPARAM wp, LPARAM lp) {
    const auto alive = m_alive.token();
    const HWND hwnd = m_hwnd;
    const WNDPROC base = m_base;
    const auto callBase = [base](HWND h, UINT m, WPARAM w, LPARAM l) {
        return CallWindowProcW(base, h, m, w, l);
    };
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        m_window.pointerPressed();
        const LRESULT r = callBase(hwnd, msg, wp, lp);
        report(MouseKind::Down, msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4, wp, lp);
        return r;
    }
    case WM_MOUSEMOVE: {
        if (!m_tip && !m_tipText.empty())
            makeToolTip(wp, lp);
        const unsigned moves = m_window.moves();
        report(MouseKind::Move, HeldButtons(wp), wp, lp);
        // Once the window has followed the pointer, the box must not select text as well.
        if (!*alive || m_window.moves() != moves)
            return 0;
        return callBase(hwnd, msg, wp, lp);
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const LRESULT r = callBase(hwnd, msg, wp, lp);
        if (!*alive || !m_sink)
            return r;
        report(MouseKind::Up, msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4, wp, lp);
        RECT rc;
        GetClientRect(hwnd, &rc);
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (*alive && m_sink && msg == WM_LBUTTONUP && m_kind == ControlKind::Label &&
            PtInRect(&rc, p))
            m_sink->nativeClick();
        return r;
    }
    case WM_LBUTTONDBLCLK: {
        m_window.pointerPressed();
        const LRESULT r = callBase(hwnd, msg, wp, lp);
        if (*alive && m_sink)
            m_sink->nativeDblClick();
        return r;
    }
    case WM_CONTEXTMENU:
        // The program's own context menu replaces every built-in edit menu; Shift+F10 and the
        // Menu key ask for it at no place of the pointer.
        if (GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1)
            m_sink->nativeContextMenuKey();
        return 0;
    case WM_GETOBJECT:
        if (!m_annotated && (!m_accessibleName.empty() || m_role)) {
            m_annotated = true;
            Annotate(hwnd, m_accessibleName, m_role);
        }
        break;
    case WM_CHAR:
        // Ctrl+A selects the whole text, also in a box without the visual styles, whose edit
        // control knows nothing of it.
        if (wp == 1 && m_kind == ControlKind::TextBox) {
            callBase(hwnd, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    }
    return callBase(hwnd, msg, wp, lp);
}

} // namespace toolkit::win32
