#include "window.h"

#include "errors.h"
#include "program.h"
#include "realisation.h"
#include "units.h"
#include "validate.h"

#include <algorithm>
#include <cmath>

namespace toolkit {

namespace {
// Never destroyed: a toolkit may call exit() with windows alive (Qt does when the X connection
// breaks), and windows torn down after the toolkit's own statics would crash on the way out.
auto& g_forms = *new std::vector<std::unique_ptr<Window>>;
auto& g_unloaded = *new std::vector<std::unique_ptr<Window>>;

// X11 coordinates are 16-bit: anything beyond cannot be a window.
constexpr int kMaxPixels = 32767;

float checkedPosition(float twips) {
    const double tpp = CurrentRealisation().twipsPerPixel();
    if (!std::isfinite(twips) || std::abs(twips / tpp) > kMaxPixels)
        throw RuntimeError(kInvalidPropertyValue);
    return twips;
}

float checkedSize(float twips, int minimumPixels) {
    const double tpp = CurrentRealisation().twipsPerPixel();
    if (!std::isfinite(twips) || twips < 0 || twips / tpp > kMaxPixels ||
        ToPixels(twips, tpp) < minimumPixels)
        throw RuntimeError(kInvalidPropertyValue);
    return twips;
}

bool samePixel(float a, float b) {
    const double tpp = CurrentRealisation().twipsPerPixel();
    return ToPixels(a, tpp) == ToPixels(b, tpp);
}
} // namespace

Window::Window(const WindowDesign& design)
    : m_design(design), m_width(design.clientWidth), m_height(design.clientHeight),
      m_backColor(design.backColor.value_or(0xF0F0F0)), m_caption(design.caption) {
    m_peer = CurrentRealisation().createWindow(design, *this);
    applyGeometry();
}

Window::~Window() {
    destroyPeers();
}

void Window::removeControl(Control* c) {
    std::erase(m_controls, c);
}

void Window::destroyPeers() {
    for (Control* c : m_controls)
        c->detachPeer();
    m_peer.reset();
}

bool Window::hasFocus() const {
    return m_peer && m_peer->hasFocus();
}

void Window::takeFocus() {
    if (m_peer)
        m_peer->takeFocus();
}

uintptr_t Window::hWnd() const {
    return m_peer ? m_peer->nativeHandle() : 0;
}

void Window::applyGeometry() {
    if (m_peer)
        m_peer->setGeometry(m_left, m_top, m_width, m_height);
}

void Window::setLeft(float left) {
    m_left = checkedPosition(left);
    applyGeometry();
}

void Window::setTop(float top) {
    m_top = checkedPosition(top);
    applyGeometry();
}

void Window::setWidth(float width) {
    width = checkedSize(width, m_design.minimumPixels);
    if (width == m_width)
        return;
    m_width = width;
    applyGeometry();
    Form_Resize();
}

void Window::setHeight(float height) {
    height = checkedSize(height, m_design.minimumPixels);
    if (height == m_height)
        return;
    m_height = height;
    applyGeometry();
    Form_Resize();
}

void Window::setBackColor(int32_t color) {
    m_backColor = CheckedColor(color);
    if (m_peer)
        m_peer->setBackColor(m_backColor);
}

void Window::setMousePointer(int16_t shape) {
    if (shape < 0 || (shape > 15 && shape != 99))
        throw RuntimeError(kInvalidPropertyValue);
    if (shape == m_mousePointer)
        return;
    m_mousePointer = shape;
    if (m_peer)
        m_peer->setMousePointer(shape);
}

void Window::Show() {
    if (!m_peer)
        return;
    m_hidden = false;
    if (!m_shown) {
        m_shown = true;
        if (m_design.centreOnShow) {
            const Rect screen = CurrentRealisation().screens().front();
            m_left = screen.left + (screen.width - m_width) / 2;
            m_top = screen.top + (screen.height - m_height) / 2;
            applyGeometry();
        }
        Form_Resize();
    }
    m_peer->show();
}

void Window::Hide() {
    m_hidden = true;
    if (m_peer)
        m_peer->hide();
}

void Window::ShowInactive() {
    if (!m_peer)
        return;
    if (!m_shown) {
        Show(); // the first appearance lays the window out, as any first show does
        return;
    }
    m_hidden = false;
    m_peer->showInactive();
}

void Window::setPassThrough(bool on) {
    m_passThrough = on;
    if (m_peer)
        m_peer->setPassThrough(on);
}

void Window::PopupMenu(const Menu& menu) {
    popup(menu, std::nullopt);
}

void Window::PopupMenu(const Menu& menu, const Control& at) {
    popup(menu, Point{at.WindowLeft() + at.Width() / 2, at.WindowTop() + at.Height() / 2});
}

void Window::popup(const Menu& menu, const std::optional<Point>& at) {
    if (!m_peer)
        return;
    std::vector<std::string> captions;
    for (const MenuItem& item : menu.Items)
        captions.push_back(item.Caption);
    const int chosen = m_peer->popupMenu(captions, at);
    ContinueEndingIfNeeded();
    if (chosen >= 0 && chosen < static_cast<int>(menu.Items.size()) && menu.Items[chosen].Click)
        menu.Items[chosen].Click();
}

// A change the user or the window manager made; the peer's echo of our own change lands on the
// same pixels and raises nothing.
void Window::nativeGeometry(float left, float top, float width, float height) {
    if (!samePixel(left, m_left))
        m_left = left;
    if (!samePixel(top, m_top))
        m_top = top;
    // Each side on its own: a side the user left alone keeps the exact twips the program set,
    // which need not be a whole number of pixels.
    bool resized = false;
    if (!samePixel(width, m_width)) {
        m_width = width;
        resized = true;
    }
    if (!samePixel(height, m_height)) {
        m_height = height;
        resized = true;
    }
    if (resized)
        Dispatch([this] { Form_Resize(); });
}

void Window::nativeMouse(MouseKind kind, const MouseArgs& a) {
    Dispatch([&] {
        switch (kind) {
        case MouseKind::Down:
            Form_MouseDown(a.Button, a.Shift, a.X, a.Y);
            break;
        case MouseKind::Move:
            Form_MouseMove(a.Button, a.Shift, a.X, a.Y);
            break;
        case MouseKind::Up:
            Form_MouseUp(a.Button, a.Shift, a.X, a.Y);
            break;
        }
    });
}

// The start-up window going away ends the program as the exit item does: every other window is
// unloaded and the process leaves. Any other window is simply unloaded.
void Window::nativeCloseRequested() {
    Dispatch([this] {
        const bool startup = !g_forms.empty() && g_forms.front().get() == this;
        if (!startup) {
            Unload(*this);
            return;
        }
        EndingFromOutside();
        for (Window* w : Forms())
            Unload(*w);
        End();
    });
}

std::vector<Window*> Forms() {
    std::vector<Window*> out;
    for (auto& w : g_forms)
        out.push_back(w.get());
    return out;
}

void AdoptForm(std::unique_ptr<Window> window) {
    g_forms.push_back(std::move(window));
}

static void destroy(Window& window) {
    window.destroyPeers();
    if (window.m_forgetInstance)
        window.m_forgetInstance();
    auto it = std::find_if(g_forms.begin(), g_forms.end(),
                           [&](const auto& p) { return p.get() == &window; });
    if (it != g_forms.end()) {
        g_unloaded.push_back(std::move(*it));
        g_forms.erase(it);
    }
}

void Window::restorePeer() {
    if (m_peer && m_shown && !m_hidden)
        m_peer->show();
}

// The user asked the program to go, and a durable save can take a slow disk's time: the windows,
// and whatever they had open, go from the screen at once, keeping the place and size they had for
// the save.
static void hideAllForms() {
    CurrentRealisation().leaveScreen();
}

void Unload(Window& window) {
    if (std::none_of(g_forms.begin(), g_forms.end(),
                     [&](const auto& p) { return p.get() == &window; }))
        return;
    const bool ending = g_forms.front().get() == &window;
    if (ending)
        hideAllForms();
    // The window system would hand the focus of a window that goes to whatever it likes, or to
    // nothing at all: what the user types next belongs in the prompt.
    const bool hadFocus = !ending && window.hasFocus();
    int16_t Cancel = 0;
    window.Form_Unload(Cancel);
    if (Cancel == 0) {
        destroy(window);
        if (hadFocus && !g_forms.empty())
            g_forms.front()->takeFocus();
    } else if (ending) {
        for (auto& w : g_forms)
            w->restorePeer();
    }
}

void DestroyAllForms() {
    while (!g_forms.empty())
        destroy(*g_forms.back());
}

void FreeUnloadedForms() {
    g_unloaded.clear();
}

void SystemQuitRequested() {
    if (!g_forms.empty())
        g_forms.front()->nativeCloseRequested();
    else
        CurrentRealisation().quit();
}

} // namespace toolkit
