#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace toolkit::qt {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// QSettings compares modification times to the millisecond. Compared as parts: the times a file
// system keeps can be far beyond what a count of milliseconds holds.
bool sameMillisecond(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec / 1'000'000 == b.tv_nsec / 1'000'000;
}

// The time moved by a step of less than a second or by whole seconds; backwards at the very end
// of time, where forwards does not exist.
timespec moved(timespec t, long nanos, time_t seconds) {
    if (t.tv_sec > std::numeric_limits<time_t>::max() - seconds - 1) {
        t.tv_sec -= seconds + 1;
        return t;
    }
    t.tv_sec += seconds;
    t.tv_nsec += nanos;
    if (t.tv_nsec >= 1'000'000'000) {
        t.tv_nsec -= 1'000'000'000;
        ++t.tv_sec;
    }
    return t;
}

} // namespace

QString LinkEnd(const QString& path) {
    QString p = path;
    for (int hop = 0; hop < 40; ++hop) { // the system's own limit on links followed
        const QFileInfo info(p);
        const QString real = info.canonicalFilePath();
        if (!real.isEmpty())
            return real;
        // Nothing at the end yet: the rest is followed from the folder the name really is in.
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (folder.isEmpty())
            return p;
        p = folder + "/" + info.fileName();
        const QFileInfo link(p);
        if (!link.isSymLink())
            return p;
        p = link.symLinkTarget();
    }
    return p;
}

FileKind KindOf(const QString& path) {
    struct stat st {};
    if (::stat(native(path).constData(), &st) != 0)
        return errno == ENOENT ? FileKind::Missing : FileKind::Other;
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

std::optional<QByteArray> ReadRegular(const QString& path, struct stat* status) {
    // Non-blocking, and checked once open: the name may have become a FIFO since it was looked at.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        QByteArray all;
        char buffer[1 << 14];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                all.append(buffer, n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0)
                bytes = std::move(all);
            break;
        }
    }
    ::close(fd);
    if (status)
        *status = st;
    return bytes;
}

bool WriteNew(const QString& path, QByteArrayView bytes) {
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = true;
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (!(n < 0 && errno == EINTR))
            ok = false;
    }
    return ::close(fd) == 0 && ok;
}

bool SyncPath(const QString& path, int flags) {
    const int fd = ::open(native(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

void TakeOver(const QString& file, const struct stat& old) {
    const QByteArray name = native(file);
    ::chmod(name.constData(), old.st_mode & 07777);
    // QSettings rereads a file only when its size or modification time has changed since it last
    // read it in this process: a replacement of the same size written in the same millisecond
    // would be taken for the old file. A coarse file system may need a second or two.
    const struct {
        long nanos;
        time_t seconds;
    } steps[] = {{1'000'000, 0}, {0, 1}, {0, 2}};
    for (const auto& step : steps) {
        struct stat now {};
        if (::stat(name.constData(), &now) != 0 || now.st_size != old.st_size ||
            !sameMillisecond(now.st_mtim, old.st_mtim))
            return;
        const timespec times[2] = {{0, UTIME_OMIT}, moved(old.st_mtim, step.nanos, step.seconds)};
        ::utimensat(AT_FDCWD, name.constData(), times, 0);
    }
}

void RemoveDebris(const QString& path) {
    // A save writes NAME.new.N (earlier versions NAME.new); QSettings adds .lock and .lock.rmlock
    // to what it writes, and a six-letter temporary name where the file system has no unnamed ones.
    const QFileInfo info(path);
    const QRegularExpression debris("^" + QRegularExpression::escape(info.fileName()) +
                                    R"(\.new(\.[0-9]+(\.[A-Za-z0-9]{6})?)?(\.lock(\.rmlock)?)?$)");
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (debris.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

} // namespace toolkit::qt
