#include "fixture.h"

#include "toolkit/program.h"
#include "toolkit/qt/qt_window_peer.h"
#include "toolkit/realisation.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <fstream>

void WindowTest::SetUp() {
    char dir[] = "/tmp/kelm-windows-XXXXXX";
    m_dir = mkdtemp(dir);
    setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    toolkit::ResetEnding();
    // An earlier test may have ended the program from inside a menu or dialog; a run of the main
    // loop forgets that, so that this test's dialogs stay open until answered.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void WindowTest::TearDown() {
    toolkit::DestroyAllForms();
    toolkit::FreeUnloadedForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::filesystem::remove_all(m_dir);
}

void WindowTest::seed(const FMain::Setting& setting, const std::string& text) {
    FMain::SaveConfig(setting.key(), text);
}

std::optional<std::string> WindowTest::stored(const FMain::Setting& setting) {
    return toolkit::CurrentRealisation().store().read(std::string(FMain::kAppName),
                                                      std::string(FMain::kSection), setting.key());
}

void WindowTest::breakStore() {
    const auto blocker = m_dir / "blocker";
    std::ofstream(blocker) << "x";
    setenv("XDG_CONFIG_HOME", (blocker / "sub").c_str(), 1);
}

QWidget* WidgetOf(toolkit::Window& window) {
    auto* peer = toolkit::qt::QtWindowPeer::find(window.hWnd());
    return peer ? peer->widget() : nullptr;
}

void ChooseMenuItem(QWidget* menu, int index) {
    auto* m = qobject_cast<QMenu*>(menu);
    ASSERT_NE(m, nullptr);
    QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(m->actions().at(index)).center());
}

void AnswerNextModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, qApp, [answer] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        if (!w) {
            ADD_FAILURE() << "no dialog or menu is open";
            QCoreApplication::exit(1); // leaves the loop that would otherwise wait forever
            return;
        }
        answer(w);
    });
}

AnswerIfModal::AnswerIfModal(std::function<void(QWidget*)> answer) : m_timer(new QTimer) {
    m_timer->setSingleShot(true);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [answer] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        if (w)
            answer(w);
    });
    m_timer->start(0);
}

AnswerIfModal::~AnswerIfModal() {
    delete m_timer;
}

void AcceptNextMessage(ShownMessage& into) {
    AnswerNextModal([&into](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr) << "expected a message box";
        into = {box->text(), box->windowTitle(), box->icon()};
        box->accept();
    });
}
