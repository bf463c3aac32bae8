#include "qt_messages.h"

#include "toolkit/program.h"
#include "toolkit/window.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace toolkit::qt {

namespace {

// A message said while starting, kept whole so that it can be passed on later as Qt said it.
struct HeldMessage {
    QtMsgType type;
    std::string category, file, function;
    int line;
    QString text;
};

// Qt's own threads (the xcb event reader) may log while the main thread starts or ends the hold.
std::mutex g_lock;
bool g_starting = false;
std::vector<HeldMessage> g_held; // what Qt said while starting, shown only if it starts
QtMessageHandler g_previous = nullptr;

// Qt always hands back a handler, its default one at least; none is only possible if someone
// installed a null handler before us.
void pass(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (g_previous)
        g_previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

void passHeld(const HeldMessage& m) {
    const QMessageLogContext context(m.file.empty() ? nullptr : m.file.c_str(), m.line,
                                     m.function.empty() ? nullptr : m.function.c_str(),
                                     m.category.empty() ? nullptr : m.category.c_str());
    pass(m.type, context, m.text);
}

[[noreturn]] void noDisplay(const QString& message) {
    const char* display = std::getenv("DISPLAY");
    const QString why = g_held.empty() ? message : g_held.front().text;
    std::fprintf(stderr, "kelm-prompt: 无法打开显示 \"%s\": %s\n", display ? display : "",
                 why.toLocal8Bit().constData());
    std::_Exit(1);
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    {
        std::lock_guard<std::mutex> hold(g_lock);
        if (g_starting) {
            if (type == QtFatalMsg)
                noDisplay(message);
            auto text = [](const char* s) { return std::string(s ? s : ""); };
            g_held.push_back({type, text(context.category), text(context.file),
                              text(context.function), context.line, message});
            return;
        }
    }
    pass(type, context, message);
    // Only the main thread looks at this flag: Qt's other threads log too.
    static bool saving = false;
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread() && !saving &&
        message.startsWith(QLatin1String("The X11 connection broke"))) {
        // The windows are gone but what they showed is not: keep it as at a logout.
        saving = true;
        SystemQuitRequested();
    }
}

} // namespace

void BeginStartup() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_starting = true;
    g_previous = qInstallMessageHandler(handle);
}

void EndStartup() {
    std::vector<HeldMessage> held;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_starting = false;
        held.swap(g_held);
    }
    for (const HeldMessage& m : held)
        passHeld(m);
}

} // namespace toolkit::qt
