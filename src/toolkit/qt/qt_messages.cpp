#include "qt_messages.h"

#include "toolkit/program.h"
#include "toolkit/window.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace toolkit::qt {

namespace {

QtMessageHandler g_previous = nullptr;

void pass(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (g_previous)
        pass(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}
bool g_starting = false;
QStringList* g_held = nullptr; // what Qt said while starting, shown only if it starts

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (g_starting) {
        if (type == QtFatalMsg) {
            const char* display = std::getenv("DISPLAY");
            const QString why = g_held && !g_held->isEmpty() ? g_held->first() : message;
            std::fprintf(stderr, "kelm-prompt: 无法打开显示 \"%s\": %s\n", display ? display : "",
                         why.toLocal8Bit().constData());
            std::_Exit(1);
        }
        if (g_held)
            g_held->append(message);
        return;
    }
    pass(type, context, message);
    static bool saving = false;
    if (!saving && message.startsWith(QLatin1String("The X11 connection broke")) &&
        QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // The windows are gone but what they showed is not: keep it as at a logout.
        saving = true;
        SystemQuitRequested();
    }
}

} // namespace

void BeginStartup() {
    g_held = new QStringList;
    g_starting = true;
    g_previous = qInstallMessageHandler(handle);
}

void EndStartup() {
    g_starting = false;
    const QStringList held = *g_held;
    delete g_held;
    g_held = nullptr;
    for (const QString& m : held)
        pass(QtWarningMsg, QMessageLogContext(), m);
}

} // namespace toolkit::qt
