// The way signals reach the event loop, under a flood of them and across exec().
#include "toolkit/qt/signal_pipe.h"

#include <gtest/gtest.h>

#include <QObject>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>

namespace {

std::set<int> openSockets() {
    std::set<int> out;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int fd = std::stoi(e.path().filename().string());
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode))
            out.insert(fd);
    }
    return out;
}

TEST(SignalPipe, FloodNeitherBlocksNorChangesErrnoAndChildrenInheritNothing) {
    const std::set<int> before = openSockets();
    QObject parent; // no event loop: nothing reads the signals, as while a handler runs
    toolkit::qt::WatchQuitSignals(&parent, [] {});
    int made = 0;
    for (int fd : openSockets()) {
        if (before.count(fd))
            continue;
        ++made;
        EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC) << "a started program would inherit it";
        EXPECT_TRUE(::fcntl(fd, F_GETFL) & O_NONBLOCK) << "a full pipe would block the handler";
    }
    EXPECT_EQ(made, 2);
    // Far more than a socket's buffer holds: a blocking write would hang here for ever.
    for (int i = 0; i < 300000; ++i) {
        errno = EDOM;
        std::raise(SIGTERM);
        if (errno != EDOM) {
            ADD_FAILURE() << "errno changed by the handler after " << i << " signals";
            break;
        }
    }
    toolkit::qt::StopWatchingQuitSignals();
}

} // namespace
