#include "signal_pipe.h"

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace toolkit::qt {

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_signalPipe[0], &c, 1);
}

} // namespace

void WatchQuitSignals(QObject* parent, std::function<void()> handler) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [handler] {
        char c;
        [[maybe_unused]] auto n = ::read(g_signalPipe[1], &c, 1);
        handler();
    });
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        std::signal(s, onSignal);
}

void StopWatchingQuitSignals() {
    if (g_signalPipe[0] < 0)
        return;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        std::signal(s, SIG_DFL);
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
}

} // namespace toolkit::qt
