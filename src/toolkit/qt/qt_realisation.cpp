#include "toolkit/realisation.h"

#include "qt_convert.h"
#include "qt_dialogs.h"
#include "qt_messages.h"
#include "qt_platform_choice.h"
#include "qt_remote.h"
#include "qt_store.h"
#include "qt_translations.h"
#include "qt_window_peer.h"
#include "signal_pipe.h"
#include "toolkit/units.h"
#include "toolkit/window.h"
#include "x11_state.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QUrl>

namespace toolkit::qt {

namespace {

// Plain pixels, built in: nothing to decode at start-up.
QIcon appIcon() {
    QIcon icon;
    for (int size : {48, 32, 24, 16}) {
        QFile file(QStringLiteral(":/kelm/icon-%1.rgba").arg(size));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray pixels = file.readAll();
        if (pixels.size() != size * size * 4)
            continue;
        const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), size, size,
                           QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image.copy()));
    }
    return icon;
}

// Constructed first: the application's construction is what fails without a display.
struct StartupMessages {
    StartupMessages() { BeginStartup(); }
};

class QtRealisation : public Realisation {
  public:
    QtRealisation(int& argc, char** argv) : m_app(argc, argv) {
        EndStartup();
        // The program decides when it ends: see the start-up window's close handling.
        QApplication::setQuitOnLastWindowClosed(false);
        LoadChineseQtTranslations();
        QApplication::setWindowIcon(appIcon());
        WatchQuitSignals(&m_app, [] { SystemQuitRequested(); });
        QObject::connect(&m_app, &QGuiApplication::commitDataRequest, &m_app,
                         [](QSessionManager&) { SystemQuitRequested(); });
    }

    ~QtRealisation() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        StopWatchingQuitSignals();
    }

    std::unique_ptr<WindowPeer> createWindow(const WindowDesign& design,
                                             WindowSink& sink) override {
        return std::make_unique<QtWindowPeer>(design, sink, twipsPerPixel());
    }

    double twipsPerPixel() const override {
        const QScreen* s = QGuiApplication::primaryScreen();
        const double dpi = s ? s->logicalDotsPerInch() : 96.0;
        return 1440.0 / (dpi > 0 ? dpi : 96.0);
    }

    std::vector<Monitor> screens() const override {
        const double t = twipsPerPixel();
        const auto twips = [t](const QRect& g) {
            return Rect{ToTwips(g.x(), t), ToTwips(g.y(), t), ToTwips(g.width(), t),
                        ToTwips(g.height(), t)};
        };
        std::vector<Monitor> out;
        const QScreen* primary = QGuiApplication::primaryScreen();
        auto add = [&](const QScreen* s) {
            out.push_back({twips(s->geometry()), twips(s->availableGeometry())});
        };
        if (primary)
            add(primary);
        for (const QScreen* s : QGuiApplication::screens())
            if (s != primary)
                add(s);
        if (out.empty())
            out.push_back({twips({0, 0, 1024, 768}), twips({0, 0, 1024, 768})});
        return out;
    }

    int messageBox(const std::string& text, int style, const std::string& title) override {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        switch (style & 0x70) {
        case 16:
            icon = QMessageBox::Critical;
            break;
        case 32:
            icon = QMessageBox::Question;
            break;
        case 48:
            icon = QMessageBox::Warning;
            break;
        case 64:
            icon = QMessageBox::Information;
            break;
        }
        QMessageBox box(icon, Q(title), Q(text), QMessageBox::Ok);
        box.exec();
        return 1; // OK
    }

    Store& store() override { return m_store; }

    Claim listen(RemoteHandler handler) override { return m_bus.listen(std::move(handler)); }

    int run() override { return m_app.exec(); }
    void leaveScreen() override {
        // A popup closes in its own loop's time unless told to now; a modal dialog hidden here
        // leaves its loop, as the end would make it anyway.
        for (int i = 0; i < 16 && QApplication::activePopupWidget(); ++i)
            QApplication::activePopupWidget()->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->hide();
        FlushX11();
    }
    // Leaves every running loop, nested ones included; with none running there is nothing to
    // leave, and exit() would only make the next loop return at once.
    void quit() override {
        if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(0);
    }

    void systemMove(uintptr_t window) override {
        if (QtWindowPeer* p = peerOf(window))
            p->requestMove();
    }

    void setTopmost(uintptr_t window) override {
        if (QtWindowPeer* p = peerOf(window))
            p->setTopmost();
    }

    void setAlpha(uintptr_t window, uint8_t alpha) override {
        QtWindowPeer* p = peerOf(window);
        if (!p)
            return;
        p->widget()->setWindowOpacity(alpha / 255.0);
        // Qt writes nothing for full opacity on a window it never made translucent; a layered
        // window stays layered, so say it explicitly.
        if (alpha == 255)
            SetOpacityProperty(window, 0xFFFFFFFFu);
    }

    void shellOpen(const std::string& target) override {
        QDesktopServices::openUrl(QUrl::fromUserInput(Q(target)));
    }

    std::optional<int32_t> chooseColor(uintptr_t owner) override;
    std::optional<FontChoice> chooseFont(const FontSeed& seed) override;

  private:
    static QtWindowPeer* peerOf(uintptr_t handle) { return QtWindowPeer::find(handle); }

    StartupMessages m_startup;
    QApplication m_app;
    QtSettingsStore m_store;
    BusListener m_bus;
};

std::optional<int32_t> QtRealisation::chooseColor(uintptr_t owner) {
    QtWindowPeer* peer = QtWindowPeer::find(owner);
    return ChooseColor(peer ? peer->widget() : nullptr);
}

std::optional<FontChoice> QtRealisation::chooseFont(const FontSeed& seed) {
    return ChooseFont(seed);
}

} // namespace

} // namespace toolkit::qt

namespace toolkit {

std::unique_ptr<Realisation> MakeRealisation(int& argc, char** argv) {
    qt::ChoosePlatform(argc, argv);
    return std::make_unique<qt::QtRealisation>(argc, argv);
}

} // namespace toolkit
