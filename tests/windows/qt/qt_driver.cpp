// The test driver on the Qt realisation: widgets reached through their peers, dialogs answered
// from a zero timer, which runs inside whichever modal loop is open by then.
#include "../driver.h"

#include "toolkit/control.h"
#include "toolkit/qt/qt_controls.h"
#include "toolkit/qt/qt_convert.h"
#include "toolkit/qt/qt_window_peer.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>

namespace driver {

namespace {

using toolkit::qt::FromQColor;
using toolkit::qt::Q;
using toolkit::qt::QtControlPeer;
using toolkit::qt::QtWindowPeer;
using toolkit::qt::S;
using toolkit::qt::ToQColor;

QWidget* widgetOf(toolkit::Window& window) {
    QtWindowPeer* peer = QtWindowPeer::find(window.hWnd());
    if (!peer)
        throw std::runtime_error("the window has no native peer");
    return peer->widget();
}

QWidget* widgetOf(toolkit::Control& control) {
    QtControlPeer* peer = QtControlPeer::find(&control);
    if (!peer || !peer->widget())
        throw std::runtime_error("the control has no native peer");
    return peer->widget();
}

uintptr_t handleOf(QWidget* w) {
    if (!w)
        return 0;
    w->winId();
    return static_cast<uintptr_t>(w->window()->windowHandle()->winId());
}

// Takes the shell's pages instead of a browser.
class Catcher : public QObject {
    Q_OBJECT
  public:
    std::vector<std::string> opened;
  public slots:
    void open(const QUrl& url) { opened.push_back(url.toString().toStdString()); }
};
Catcher* g_catcher = nullptr;

std::filesystem::path g_root;
int g_generation = 0;

void useStore(const std::filesystem::path& dir) {
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
}
std::filesystem::path currentStore() {
    return g_root / ("store" + std::to_string(g_generation));
}

struct Pending {
    Reply reply;
    Shown* shown;
};
std::deque<Pending> g_pending;

void schedule();

void answer(QWidget* w, const Pending& p) {
    Shown seen;
    const Reply& r = p.reply;
    if (auto* menu = qobject_cast<QMenu*>(w)) {
        seen.kind = Modal::Menu;
        for (QAction* a : menu->actions())
            seen.items.push_back(S(a->text()));
    } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
        seen.kind = Modal::Message;
        seen.title = S(box->windowTitle());
        seen.text = S(box->text());
        seen.information = box->icon() == QMessageBox::Information;
    } else if (auto* colour = qobject_cast<QColorDialog*>(w)) {
        seen.kind = Modal::Colour;
        seen.owner = handleOf(colour->parentWidget());
        seen.colour = FromQColor(colour->currentColor());
        seen.customBlack = true;
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            seen.customBlack = seen.customBlack && QColorDialog::customColor(i) == Qt::black;
    } else if (auto* font = qobject_cast<QFontDialog*>(w)) {
        seen.kind = Modal::Font;
        seen.owner = handleOf(font->parentWidget());
        seen.face = S(font->currentFont().family());
        seen.points = font->currentFont().pointSizeF();
    }
    if (p.shown)
        *p.shown = seen;
    if (r.whileOpen)
        r.whileOpen();
    // What the answer opens in turn is answered by the next one.
    schedule();
    switch (seen.kind) {
    case Modal::Menu: {
        auto* menu = static_cast<QMenu*>(w);
        if (!r.accept || r.item < 0 || r.item >= menu->actions().size()) {
            menu->close();
            return;
        }
        QAction* a = menu->actions().at(r.item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        return;
    }
    case Modal::Colour: {
        auto* dialog = static_cast<QColorDialog*>(w);
        if (r.custom)
            QColorDialog::setCustomColor(0, ToQColor(*r.custom));
        if (r.colour)
            dialog->setCurrentColor(ToQColor(*r.colour));
        r.accept ? dialog->accept() : dialog->reject();
        return;
    }
    case Modal::Font: {
        auto* dialog = static_cast<QFontDialog*>(w);
        if (!r.face.empty()) {
            QFont f(Q(r.face));
            f.setPointSizeF(r.points);
            dialog->setCurrentFont(f);
        }
        r.accept ? dialog->accept() : dialog->reject();
        return;
    }
    default:
        if (auto* d = qobject_cast<QDialog*>(w); d && r.accept)
            d->accept();
        else
            w->close();
    }
}

void fire() {
    if (g_pending.empty())
        return;
    QWidget* w = QApplication::activePopupWidget();
    if (!w)
        w = QApplication::activeModalWidget();
    if (!w) {
        schedule(); // not open yet: the next loop to run is the dialog's
        return;
    }
    const Pending p = g_pending.front();
    g_pending.pop_front();
    answer(w, p);
}

// One timer, so that each answer waits for the dialog its predecessor opens.
void schedule() {
    static QTimer* timer = nullptr;
    if (!timer) {
        timer = new QTimer(qApp);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, fire);
    }
    if (!g_pending.empty())
        timer->start(0);
}

} // namespace

void Prepare() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char dir[] = "/tmp/kelm-windows-XXXXXX";
    g_root = mkdtemp(dir);
}

void Finish() {
    for (const char* scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(scheme);
    delete g_catcher;
    g_catcher = nullptr;
    std::filesystem::remove_all(g_root);
}

void Reset() {
    if (!g_catcher) {
        g_catcher = new Catcher;
        for (const char* scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(scheme, g_catcher, "open");
    }
    g_catcher->opened.clear();
    // A program end inside a dialog left Qt's loops told to quit; one run of the main loop
    // forgets that, so that this test's dialogs stay open until answered.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Pump() {
    QCoreApplication::processEvents();
}

void ClearStore() {
    std::filesystem::remove_all(currentStore());
    ++g_generation; // a new place, so that nothing cached of the old one is read
    std::filesystem::create_directories(currentStore());
    useStore(currentStore());
}

void BreakStore() {
    const auto blocker = g_root / "blocker";
    std::ofstream(blocker) << "x";
    useStore(blocker / "sub");
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
    return n;
}

namespace {
// The press may end the program and take the widget with it.
void click(QWidget* w, Button button, int x, int y) {
    const Qt::MouseButton b = button == Button::Left ? Qt::LeftButton : Qt::RightButton;
    QPointer<QWidget> alive(w);
    QTest::mousePress(w, b, {}, QPoint(x, y));
    if (alive && alive->isVisible())
        QTest::mouseRelease(w, b, {}, QPoint(x, y));
}
} // namespace

void Click(toolkit::Control& control, Button button, int x, int y) {
    click(widgetOf(control), button, x, y);
}

void Click(toolkit::Window& window, Button button, int x, int y) {
    click(widgetOf(window), button, x, y);
}

void DoubleClick(toolkit::Control& control, int x, int y) {
    QTest::mouseDClick(widgetOf(control), Qt::LeftButton, {}, QPoint(x, y));
}

void Type(toolkit::Control& control, const std::string& text) {
    QWidget* w = widgetOf(control);
    if (auto* c = qobject_cast<QComboBox*>(w))
        w = c->lineEdit();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->selectAll();
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->selectAll();
    QTest::keyClicks(w, Q(text));
}

void Close(toolkit::Window& window) {
    widgetOf(window)->close();
}

void Place(toolkit::Window& window, int x, int y, int width, int height) {
    widgetOf(window)->setGeometry(x, y, width, height);
}

WindowState Native(toolkit::Window& window) {
    QWidget* w = widgetOf(window);
    WindowState st;
    const QRect frame = w->frameGeometry();
    st.x = frame.x();
    st.y = frame.y();
    st.width = frame.width();
    st.height = frame.height();
    st.clientWidth = w->width();
    st.clientHeight = w->height();
    st.visible = w->isVisible();
    st.title = S(w->windowTitle());
    st.frameless = w->windowFlags().testFlag(Qt::FramelessWindowHint);
    st.icon = !w->windowIcon().isNull();
    st.alpha = qRound(w->windowOpacity() * 255);
    return st;
}

ControlState Native(toolkit::Control& control) {
    QWidget* w = widgetOf(control);
    ControlState st;
    const auto* label = qobject_cast<QLabel*>(w);
    if (label) {
        st.text = S(label->text());
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        st.text = S(e->text());
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        st.text = S(p->toPlainText().replace('\n', QStringLiteral("\r\n")));
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        st.text = S(c->currentText());
        for (int i = 0; i < c->count(); ++i)
            st.items.push_back(S(c->itemText(i)));
    }
    st.toolTip = S(w->toolTip());
    st.enabled = w->isEnabled();
    st.face = S(QFontInfo(w->font()).family());
    const QPalette& pal = w->palette();
    st.fore = FromQColor(pal.color(label ? QPalette::WindowText : QPalette::Text));
    st.back = FromQColor(pal.color(label ? QPalette::Window : QPalette::Base));
    return st;
}

std::vector<std::string> Opened() {
    return g_catcher ? g_catcher->opened : std::vector<std::string>{};
}

bool FaceInstalled(const std::string& face) {
    return QFontDatabase::families().contains(Q(face));
}

std::string ChineseFace() {
    for (const QString& f : QFontDatabase::families())
        if (f.contains("WenQuanYi") || f.contains("CJK SC"))
            return S(f);
    return S(QFontDatabase::families().value(0));
}

} // namespace driver

#include "qt_driver.moc"
