#include "qt_store.h"

#include "qt_convert.h"
#include "toolkit/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit::qt {

namespace {

// Long enough to outlast another instance's save, short enough that an end never hangs on it.
constexpr int kLockWaitMs = 1500;

// Opening a FIFO or a device for reading can block for ever; only a regular file is read.
enum class FileKind { Missing, Regular, Other };
FileKind kindOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? FileKind::Missing : FileKind::Other;
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// A new file takes the old one's permissions, so that a private settings file stays private.
void keepMode(const QString& from, const QString& to) {
    struct stat st {};
    if (::stat(QFile::encodeName(from).constData(), &st) == 0)
        ::chmod(QFile::encodeName(to).constData(), st.st_mode & 07777);
}

QString configDir() {
    // The base directory rules: a relative XDG_CONFIG_HOME is invalid and ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const QString dir = (xdg && *xdg) ? QFile::decodeName(xdg) : QString();
    if (!dir.isEmpty() && QDir::isAbsolutePath(dir))
        return dir;
    return QDir::homePath() + "/.config";
}

} // namespace

QString SettingsPath(const QString& app) {
    QString path = configDir() + "/" + app + ".conf";
    const QFileInfo info(path);
    if (info.isSymLink())
        path = info.symLinkTarget();
    return path;
}

QSettings* QtSettingsStore::settings(const std::string& app) {
    // Looked up at every access rather than once per process as QSettings does, so that
    // XDG_CONFIG_HOME means what it says when it changes.
    const QString path = SettingsPath(Q(app));
    if (m_path != path || (!m_settings && !m_unreadable)) {
        m_path = path;
        m_settings.reset();
        m_unreadable = kindOf(path) == FileKind::Other;
        if (!m_unreadable)
            m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
    return m_settings.get();
}

std::optional<std::string> QtSettingsStore::read(const std::string& app, const std::string& section,
                                                 const std::string& key) {
    QSettings* s = settings(app);
    const QString full = Q(section) + "/" + Q(key);
    if (!s || !s->contains(full))
        return std::nullopt;
    const QVariant v = s->value(full);
    // A hand-edited line with commas reads back as a list: keep it as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return S(v.toStringList().join(QLatin1Char(',')));
    return S(v.toString());
}

void QtSettingsStore::write(const std::string& app, const std::string& section,
                            const Entries& entries) {
    const QString path = SettingsPath(Q(app));
    auto refuse = [&] { throw RuntimeError("无法保存设置: " + S(path)); };

    const FileKind kind = kindOf(path);
    if (kind == FileKind::Other || !QDir().mkpath(QFileInfo(path).absolutePath()))
        refuse();
    QLockFile lock(path + ".lock");
    if (!lock.tryLock(kLockWaitMs))
        refuse();

    // Everything the file holds now, then the new values.
    QList<std::pair<QString, QVariant>> wanted;
    if (kind == FileKind::Regular) {
        const QSettings old(path, QSettings::IniFormat);
        for (const QString& k : old.allKeys())
            if (!k.isEmpty() && !k.endsWith(QLatin1Char('/'))) // a line "=x" names nothing
                wanted.append({k, old.value(k)});
    }
    for (const auto& [key, value] : entries) {
        const QString full = Q(section) + "/" + Q(key);
        wanted.removeIf([&](const auto& e) { return e.first == full; });
        wanted.append({full, Q(value)});
    }

    // Only the holder of the lock above uses these names: anything left there is debris of a
    // save that was killed, and QSettings would wait on a stale lock of its own for ever.
    const QString temp = path + ".new";
    for (const QString& debris : {temp, temp + ".lock", temp + ".lock.rmlock"})
        QFile::remove(debris);
    auto complete = [&] {
        {
            QSettings out(temp, QSettings::IniFormat);
            for (const auto& [k, v] : wanted)
                out.setValue(k, v);
            out.sync();
            if (out.status() != QSettings::NoError)
                return false;
        }
        // A short write on a full disk can still look successful: read the file back.
        const QSettings back(temp, QSettings::IniFormat);
        if (back.status() != QSettings::NoError || back.allKeys().size() != wanted.size())
            return false;
        for (const auto& [k, v] : wanted)
            if (back.value(k) != v)
                return false;
        return true;
    };
    if (!complete() || !syncPath(temp, O_RDONLY)) {
        QFile::remove(temp);
        refuse();
    }
    keepMode(path, temp);
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temp);
        refuse();
    }
    syncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
    // The next read sees what is on the disk now.
    m_settings.reset();
    m_path.clear();
}

} // namespace toolkit::qt
