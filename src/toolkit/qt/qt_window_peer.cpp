#include "qt_window_peer.h"

#include "qt_accessible.h"
#include "qt_controls.h"
#include "qt_convert.h"
#include "toolkit/units.h"
#include "x11_state.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace toolkit::qt {

void PeerWidget::mousePressEvent(QMouseEvent* e) {
    if (m_owner)
        m_owner->mouse(MouseKind::Down, e);
}

void PeerWidget::mouseMoveEvent(QMouseEvent* e) {
    if (m_owner)
        m_owner->mouse(MouseKind::Move, e);
}

void PeerWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (m_owner)
        m_owner->mouse(MouseKind::Up, e);
}

void PeerWidget::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (m_owner)
        m_owner->geometryChanged();
}

void PeerWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (m_owner)
        m_owner->geometryChanged();
}

void PeerWidget::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    if (m_owner)
        m_owner->painted();
}

void PeerWidget::closeEvent(QCloseEvent* e) {
    // Whether the window goes is the program's decision, made through its unload handling.
    e->ignore();
    if (m_owner)
        m_owner->closeRequested();
}

// Escape reaches the window when the control with the focus has no use for it.
void PeerWidget::keyPressEvent(QKeyEvent* e) {
    if (m_owner && m_owner->escapeCloses() && e->key() == Qt::Key_Escape &&
        e->modifiers() == Qt::NoModifier) {
        m_owner->closeRequested();
        return;
    }
    QWidget::keyPressEvent(e);
}

namespace {
// Never destroyed: see the list of windows.
auto& g_peers = *new std::vector<QtWindowPeer*>;

Qt::WindowFlags flagsFor(BorderStyle border) {
    switch (border) {
    case BorderStyle::None:
        return Qt::Window | Qt::FramelessWindowHint;
    case BorderStyle::FixedDialog:
        return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
               Qt::WindowCloseButtonHint;
    case BorderStyle::FixedSingle:
        break;
    }
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

Qt::CursorShape cursorFor(int16_t shape) {
    switch (shape) {
    case 9:
        return Qt::SizeHorCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 3:
        return Qt::IBeamCursor;
    case 11:
        return Qt::WaitCursor;
    default:
        return Qt::ArrowCursor;
    }
}
} // namespace

QtWindowPeer::QtWindowPeer(const WindowDesign& design, WindowSink& sink, double twipsPerPixel)
    : m_widget(new PeerWidget(this, flagsFor(design.border))), m_sink(&sink), m_tpp(twipsPerPixel),
      m_fixedSize(design.border != BorderStyle::None), m_showInTaskbar(design.showInTaskbar),
      m_centreOnShow(design.centreOnShow), m_escapeCloses(design.escapeCloses) {
    g_peers.push_back(this);
    DescribeWindow(m_widget, design.border == BorderStyle::FixedDialog);
    m_widget->setWindowTitle(Q(design.caption));
    m_widget->setMouseTracking(true);
    if (design.backColor)
        setBackColor(*design.backColor);
}

QtWindowPeer::~QtWindowPeer() {
    std::erase(g_peers, this);
    if (!m_widget)
        return;
    m_widget->m_owner = nullptr;
    if (m_manualMove)
        m_widget->releaseMouse();
    m_widget->hide();
    // The widget may be inside one of its own event handlers right now.
    m_widget->deleteLater();
}

void QtWindowPeer::setGeometry(float left, float top, float width, float height) {
    const QRect r(ToPixels(left, m_tpp), ToPixels(top, m_tpp), ToPixels(width, m_tpp),
                  ToPixels(height, m_tpp));
    m_applying = true;
    if (m_fixedSize) {
        m_widget->setFixedSize(r.size());
        m_widget->move(r.topLeft());
    } else {
        m_widget->setGeometry(r);
    }
    m_applying = false;
}

void QtWindowPeer::setBackColor(int32_t color) {
    QPalette p = m_widget->palette();
    p.setColor(QPalette::Window, ToQColor(color));
    m_widget->setPalette(p);
    m_widget->setAutoFillBackground(true);
}

void QtWindowPeer::setMousePointer(int16_t shape) {
    if (shape == 0)
        m_widget->unsetCursor();
    else
        m_widget->setCursor(cursorFor(shape));
}

void QtWindowPeer::show() {
    m_centrePending = m_centreOnShow && !m_shownBefore;
    m_shownBefore = true;
    m_widget->show();
    m_widget->raise();
    m_widget->activateWindow();
}

// Qt's widgets hand Qt::WA_ShowWithoutActivating to the native window only when they create it;
// the window tells the window manager (a user time of 0 on X11) from this property.
void QtWindowPeer::showInactive() {
    QWindow* native = m_widget->windowHandle();
    if (native)
        native->setProperty("_q_showWithoutActivating", true);
    m_widget->show();
    m_widget->raise();
    if (native)
        native->setProperty("_q_showWithoutActivating", QVariant());
}

void QtWindowPeer::hide() {
    m_widget->hide();
}

// On X11 an empty input shape: the window stays mapped, on top and translucent as it was.
void QtWindowPeer::setPassThrough(bool on) {
    setFlag(Qt::WindowTransparentForInput, on);
}

// QWidget::winId() goes stale when Qt replaces the native window after a change of flags; the
// QWindow always knows the current one.
uintptr_t QtWindowPeer::nativeHandle() const {
    m_widget->winId();
    return static_cast<uintptr_t>(m_widget->windowHandle()->winId());
}

QtWindowPeer* QtWindowPeer::find(uintptr_t handle) {
    for (QtWindowPeer* p : g_peers)
        if (p->m_widget && p->nativeHandle() == handle)
            return p;
    return nullptr;
}

bool QtWindowPeer::hasFocus() const {
    return m_widget->isActiveWindow();
}

void QtWindowPeer::takeFocus() {
    if (m_widget->isVisible())
        m_widget->activateWindow();
}

// The program may unload the window inside the menu's loop: the menu then goes with the window's
// widget, and an item chosen has no window left to act on.
int QtWindowPeer::popupMenu(const std::vector<std::string>& captions,
                            const std::optional<Point>& at) {
    const auto alive = m_alive.token();
    const QPointer<QMenu> menu = new QMenu(m_widget);
    for (const std::string& c : captions)
        menu->addAction(Q(c));
    const QPoint place =
        at ? m_widget->mapToGlobal(QPoint(ToPixels(at->x, m_tpp), ToPixels(at->y, m_tpp)))
           : QCursor::pos();
    const bool active = m_widget->isActiveWindow();
    QAction* chosen = menu->exec(place);
    if (!menu)
        return -1;
    // Where the menu took the focus as a window of its own, it goes back to where it was.
    if (const QWidget* now = QApplication::activeWindow(); active && (!now || now == menu))
        m_widget->activateWindow();
    const int index = *alive && chosen ? static_cast<int>(menu->actions().indexOf(chosen)) : -1;
    delete menu;
    return index;
}

std::unique_ptr<ControlPeer> QtWindowPeer::createControl(const ControlDesign& design,
                                                         ControlSink& sink,
                                                         ControlPeer* container) {
    QWidget* parent = m_widget;
    if (auto* frame = dynamic_cast<QtControlPeer*>(container))
        parent = frame->widget();
    return MakeControlPeer(design, sink, *this, parent);
}

void QtWindowPeer::pointerPressed(const QPoint& global) {
    m_anchored = false;
    m_systemMove = false;
    m_lastGlobal = global;
}

void QtWindowPeer::pointerMoved(const QPoint& global) {
    m_lastGlobal = global;
    if (m_manualMove)
        m_widget->move(m_anchorWindow + (global - m_anchorCursor));
}

void QtWindowPeer::pointerReleased() {
    m_anchored = false;
    if (m_manualMove) {
        m_manualMove = false;
        m_widget->releaseMouse();
    }
}

void QtWindowPeer::requestMove() {
    if (m_manualMove)
        return;
    if (!m_anchored) {
        m_anchored = true;
        m_anchorCursor = m_lastGlobal;
        m_anchorWindow = m_widget->pos();
        return;
    }
    if (m_lastGlobal == m_anchorCursor)
        return;
    m_anchored = false;
    // Where a program cannot place its own windows, the compositor has to move it. Elsewhere we
    // follow the pointer ourselves: a window manager's move starts only when it gets our request,
    // and a button released before that leaves it moving the window with no button held.
    QWindow* native = m_widget->windowHandle();
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && native &&
        native->startSystemMove()) {
        m_systemMove = true;
        return;
    }
    m_manualMove = true;
    m_widget->grabMouse();
    pointerMoved(m_lastGlobal); // catch up with the travel so far
}

void QtWindowPeer::setTopmost() {
    setFlag(Qt::WindowStaysOnTopHint, true);
}

// Changing a widget's flags replaces its native window; telling the native window keeps it.
void QtWindowPeer::setFlag(Qt::WindowType flag, bool on) {
    Qt::WindowFlags flags = m_widget->windowFlags();
    flags.setFlag(flag, on);
    if (QWindow* native = m_widget->windowHandle()) {
        m_widget->overrideWindowFlags(flags);
        native->setFlags(flags);
    } else {
        m_widget->setWindowFlags(flags);
    }
}

void QtWindowPeer::mouse(MouseKind kind, QMouseEvent* e) {
    const QPoint global = e->globalPosition().toPoint();
    if (kind == MouseKind::Down)
        pointerPressed(global);
    else if (kind == MouseKind::Move)
        pointerMoved(global);
    if (m_manualMove) {
        if (kind == MouseKind::Up)
            pointerReleased();
        return;
    }
    if (kind == MouseKind::Up)
        pointerReleased();
    MouseArgs a;
    a.Button = kind == MouseKind::Move ? ButtonMask(e->buttons()) : ButtonCode(e->button());
    a.Shift = ShiftMask(e->modifiers());
    a.X = ToTwips(qRound(e->position().x()), m_tpp);
    a.Y = ToTwips(qRound(e->position().y()), m_tpp);
    m_sink->nativeMouse(kind, a);
}

void QtWindowPeer::geometryChanged() {
    if (m_applying)
        return;
    const QPoint p = m_widget->pos();
    m_sink->nativeGeometry(ToTwips(p.x(), m_tpp), ToTwips(p.y(), m_tpp),
                           ToTwips(m_widget->width(), m_tpp), ToTwips(m_widget->height(), m_tpp));
}

// Qt rewrites the window's state as it maps it, and may replace the native window when its
// flags change; a window manager only takes requests for windows it manages. The first paint of
// each native window comes after all of that.
void QtWindowPeer::painted() {
    centreByFrame();
    if (m_showInTaskbar || !m_widget->windowHandle() || !m_widget->windowHandle()->isExposed())
        return;
    const WId id = m_widget->windowHandle()->winId();
    if (id != m_skipTaskbarDone) {
        m_skipTaskbarDone = id;
        SetSkipTaskbar(id);
    }
}

// The window was centred by its client area; the frame, and so the correction, is known once the
// window manager has framed it, before its first paint.
void QtWindowPeer::centreByFrame() {
    if (!m_centrePending)
        return;
    const QRect frame = m_widget->frameGeometry();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (frame.size() == m_widget->size() || !screen)
        return;
    m_centrePending = false;
    const QRect area = screen->geometry();
    m_widget->move(area.x() + (area.width() - frame.width()) / 2,
                   area.y() + (area.height() - frame.height()) / 2);
}

void QtWindowPeer::closeRequested() {
    m_sink->nativeCloseRequested();
}

} // namespace toolkit::qt
