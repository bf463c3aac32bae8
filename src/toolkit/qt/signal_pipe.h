#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop (POSIX only): a signal handler
// may do nothing but write to a pipe.
#include <functional>

class QObject;

namespace toolkit::qt {

void WatchQuitSignals(QObject* parent, std::function<void()> onSignal);
void StopWatchingQuitSignals();

} // namespace toolkit::qt
