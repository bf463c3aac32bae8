#include "signal_pipe.h"

#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace toolkit::qt {

namespace {

int g_signalPipe[2] = {-1, -1};

// The interrupted code may be reading errno; a full pipe already holds a wake-up, so a write that
// would block is simply dropped.
void onSignal(int) {
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_signalPipe[0], &c, 1);
    errno = saved;
}

} // namespace

void WatchQuitSignals(QObject* parent, std::function<void()> handler) {
    // Non-blocking, so that neither the handler nor the reader can hang on it; not inherited by
    // the programs the About window starts.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [handler] {
        char c[16];
        while (::read(g_signalPipe[1], c, sizeof c) > 0) {
        }
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
