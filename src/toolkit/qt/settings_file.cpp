#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

namespace toolkit::qt {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

qint64 millis(const timespec& t) {
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

} // namespace

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
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

bool FileHolds(const QString& path, QByteArrayView bytes) {
    const auto back = ReadRegular(path);
    return back && *back == bytes;
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
    // QSettings rereads a file only when its size or modification time (to the millisecond) has
    // changed since it last read it in this process: a replacement of the same size written in the
    // same millisecond would be taken for the old file. A coarse file system may need a second or
    // two.
    struct stat now {};
    for (const int64_t step :
         {int64_t{1'000'000}, int64_t{1'000'000'000}, int64_t{2'000'000'000}}) {
        if (::stat(name.constData(), &now) != 0 || now.st_size != old.st_size ||
            millis(now.st_mtim) > millis(old.st_mtim))
            return;
        // In 64 bits: a long of 32 would overflow.
        const int64_t nanos = int64_t{old.st_mtim.tv_nsec} + step;
        timespec times[2] = {{0, UTIME_OMIT}, old.st_mtim};
        times[1].tv_sec += static_cast<time_t>(nanos / 1'000'000'000);
        times[1].tv_nsec = static_cast<long>(nanos % 1'000'000'000);
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
