// The test driver on the Qt realisation: widgets reached through their peers, dialogs answered
// from a zero timer, which runs inside whichever modal loop is open by then.
#include "../driver.h"

#include "toolkit/control.h"
#include "toolkit/qt/qt_controls.h"
#include "toolkit/qt/qt_convert.h"
#include "toolkit/qt/qt_window_peer.h"
#include "toolkit/window.h"

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <filesystem>
#include <fstream>
#include <map>

namespace driver {

namespace {

using toolkit::qt::FromQColor;
using toolkit::qt::Q;
using toolkit::qt::QtControlPeer;
using toolkit::qt::QtWindowPeer;
using toolkit::qt::S;
using toolkit::qt::ToQColor;

template <class Peer> QWidget* widgetOf(Peer* peer) {
    if (!peer || !peer->widget())
        throw std::runtime_error("no native peer");
    return peer->widget();
}
QWidget* widgetOf(toolkit::Window& window) {
    return widgetOf(QtWindowPeer::find(window.hWnd()));
}
QWidget* widgetOf(toolkit::Control& control) {
    return widgetOf(QtControlPeer::find(&control));
}

std::filesystem::path g_root;
int g_generation = 0;
QPointer<QWidget> g_elsewhere; // a window of some other program

void useStore(const std::filesystem::path& dir) {
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
}
std::filesystem::path currentStore() {
    return g_root / ("store" + std::to_string(g_generation));
}

void answer(QWidget* w, const Pending& p) {
    const Reply& r = p.reply;
    auto* menu = qobject_cast<QMenu*>(w);
    auto* box = qobject_cast<QMessageBox*>(w);
    auto* colour = qobject_cast<QColorDialog*>(w);
    auto* font = qobject_cast<QFontDialog*>(w);
    Shown seen;
    seen.kind = menu ? Modal::Menu : Modal::None;
    if (box)
        seen = {Modal::Message, S(box->windowTitle()), S(box->text()), -1, 0};
    if (colour)
        seen = {Modal::Colour, "", "", FromQColor(colour->currentColor()), 0};
    if (font)
        seen = {Modal::Font, "", "", -1, font->currentFont().pointSizeF()};
    if (p.shown)
        *p.shown = seen;
    if (r.whileOpen) {
        // It may end the program and take the menu or dialog with its window.
        const QPointer<QWidget> alive(w);
        r.whileOpen();
        if (!alive)
            return Schedule();
    }
    // What the answer opens in turn is answered by the next one.
    Schedule();
    if (colour && r.colour)
        colour->setCurrentColor(ToQColor(*r.colour));
    if (font && !r.face.empty()) {
        QFont f(Q(r.face));
        f.setPointSizeF(r.points);
        font->setCurrentFont(f);
    }
    auto* dialog = qobject_cast<QDialog*>(w);
    if (menu && r.item >= 0)
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions().at(r.item)).center());
    else if (!dialog)
        w->close();
    else
        r.accept ? dialog->accept() : dialog->reject();
}

void fire() {
    QWidget* w = QApplication::activePopupWidget();
    if (!w)
        w = QApplication::activeModalWidget();
    if (const auto p = Next(w))
        answer(w, *p);
}

} // namespace

void Prepare() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char dir[] = "/tmp/kelm-windows-XXXXXX";
    g_root = mkdtemp(dir);
}

void Finish() {
    std::filesystem::remove_all(g_root);
}

void Reset() {
    if (g_elsewhere)
        g_elsewhere->hide();
    // A program end inside a dialog left Qt's loops told to quit; one run of the main loop
    // forgets that, so that this test's dialogs stay open until answered, and frees what the
    // test before destroyed.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void Pump() {
    QCoreApplication::processEvents();
}

namespace {

Accessible describe(QWidget* widget) {
    static const std::map<QAccessible::Role, Role> roles = {
        {QAccessible::Window, Role::Window},     {QAccessible::Dialog, Role::Dialog},
        {QAccessible::EditableText, Role::Text}, {QAccessible::StaticText, Role::Label},
        {QAccessible::Link, Role::Link},         {QAccessible::ComboBox, Role::List},
        {QAccessible::Button, Role::Button}};
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    if (!a)
        return {};
    const auto role = roles.find(a->role());
    Accessible out{
        S(a->text(QAccessible::Name)), role == roles.end() ? Role::Other : role->second, {}};
    const auto labels = a->relations(QAccessible::Label);
    if (!labels.isEmpty())
        out.label = S(labels.first().first->text(QAccessible::Name));
    return out;
}

} // namespace

Accessible Describe(toolkit::Window& window) {
    return describe(widgetOf(window));
}

Accessible Describe(toolkit::Control& control) {
    return describe(widgetOf(control));
}

// As the xcb platform delivers the Menu key: a context menu event that reaches the focus widget,
// then the key itself.
void Press(Key key) {
    QPointer<QWidget> target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        throw std::runtime_error("nothing has the keyboard focus");
    if (key == Key::Menu) {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, {}, target->mapToGlobal(QPoint()));
        QApplication::sendEvent(target, &event);
    }
    const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Menu, Qt::Key_F10, Qt::Key_Tab};
    if (target)
        QTest::keyClick(target, keys[int(key)],
                        key == Key::ShiftF10 ? Qt::ShiftModifier : Qt::NoModifier);
}

bool Focused(toolkit::Control& control) {
    return widgetOf(control)->hasFocus();
}

void FocusElsewhere() {
    if (!g_elsewhere)
        g_elsewhere = new QWidget;
    g_elsewhere->show();
    g_elsewhere->activateWindow();
    Pump();
}

void ClearStore() {
    std::filesystem::remove_all(currentStore());
    ++g_generation; // a new place, so that nothing cached of the old one is read
    std::filesystem::create_directories(currentStore());
    useStore(currentStore());
}

void BreakStore() {
    std::ofstream(g_root / "blocker") << "x";
    useStore(g_root / "blocker" / "sub");
}

void RepairStore() {
    useStore(currentStore());
}

void Schedule() {
    static QTimer* timer = nullptr;
    if (!timer) {
        timer = new QTimer(qApp);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, fire);
    }
    g_pending.empty() ? timer->stop() : timer->start(0);
}

// The press may end the program and take the widget with it.
void Click(toolkit::Control& control, Button button, int x, int y) {
    QWidget* w = widgetOf(control);
    const Qt::MouseButton b = button == Button::Left ? Qt::LeftButton : Qt::RightButton;
    QPointer<QWidget> alive(w);
    QTest::mousePress(w, b, {}, QPoint(x, y));
    if (alive && alive->isVisible())
        QTest::mouseRelease(w, b, {}, QPoint(x, y));
}

void Close(toolkit::Window& window) {
    widgetOf(window)->close();
}

void Place(toolkit::Window& window, int x, int y, int width, int height) {
    widgetOf(window)->setGeometry(x, y, width, height);
}

WindowState Native(toolkit::Window& window) {
    QWidget* w = widgetOf(window);
    const QWindow* native = w->windowHandle();
    return {w->width(),
            w->height(),
            w->isVisible(),
            qRound(w->windowOpacity() * 255),
            native && native->flags().testFlag(Qt::WindowTransparentForInput),
            native && QGuiApplication::focusWindow() == native};
}

bool ShowingActivates() {
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

bool Enabled(toolkit::Control& control) {
    return widgetOf(control)->isEnabled();
}

bool AnythingShown() {
    const QWidgetList all = QApplication::topLevelWidgets();
    return std::any_of(all.begin(), all.end(), [](QWidget* w) { return w->isVisible(); });
}

} // namespace driver
