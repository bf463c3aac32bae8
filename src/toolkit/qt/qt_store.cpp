#include "qt_store.h"

#include "ini_text.h"
#include "qt_convert.h"
#include "settings_file.h"
#include "toolkit/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace toolkit::qt {

namespace {

// Long enough to outlast another instance's save, short enough that an end never hangs on it.
constexpr int kLockWaitMs = 1500;

QString configDir() {
    // The base directory rules: a relative XDG_CONFIG_HOME is invalid and ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const QString dir = (xdg && *xdg) ? QFile::decodeName(xdg) : QString();
    if (!dir.isEmpty() && QDir::isAbsolutePath(dir))
        return dir;
    return QDir::homePath() + "/.config";
}

// A lookup parses only the section whose name sorts just before the key, so a section such as
// [APPNAME\x] hides the entries of [APPNAME]: every section is parsed first.
std::unique_ptr<QSettings> openSettings(const QString& path) {
    auto s = std::make_unique<QSettings>(path, QSettings::IniFormat);
    s->allKeys();
    return s;
}

std::optional<QString> entryText(const QSettings& s, const QString& key) {
    if (!s.contains(key))
        return std::nullopt;
    const QVariant v = s.value(key);
    // A hand-edited line with commas reads back as a list: keep it as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

// QSettings keeps what it has read of a file by name and takes a file of the same size and time as
// unchanged: each file written here gets a name this process has never used.
QString freshName(const QString& path) {
    static int serial = 0;
    return path + ".new." + QString::number(++serial);
}

bool readsBack(const QString& file, const IniEntries& wanted) {
    const auto back = openSettings(file);
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const auto& e) { return entryText(*back, e.first) == e.second; });
}

// What QSettings itself writes of all it reads from the old text, with the entries set: for the
// texts whose lines the merges cannot place the entries in.
std::optional<QByteArray> rebuilt(const QByteArray& old, const IniEntries& wanted,
                                  const QString& path) {
    const QString scratch = freshName(path);
    std::optional<QByteArray> text;
    if (WriteNew(scratch, old)) {
        {
            QSettings s(scratch, QSettings::IniFormat);
            for (const auto& [key, value] : wanted)
                s.setValue(key, value);
        }
        // Read back as it is: a write QSettings failed leaves the old text, which the check fails.
        text = ReadRegular(scratch);
    }
    QFile::remove(scratch);
    return text;
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
        m_unreadable = KindOf(path) == FileKind::Other;
        if (!m_unreadable)
            m_settings = openSettings(path);
    }
    return m_settings.get();
}

std::optional<std::string> QtSettingsStore::read(const std::string& app, const std::string& section,
                                                 const std::string& key) {
    QSettings* s = settings(app);
    const auto text = s ? entryText(*s, Q(section) + "/" + Q(key)) : std::nullopt;
    return text ? std::optional(S(*text)) : std::nullopt;
}

void QtSettingsStore::write(const std::string& app, const std::string& section,
                            const Entries& entries) {
    const QString path = SettingsPath(Q(app));
    auto refuse = [&] { throw RuntimeError("无法保存设置: " + S(path)); };

    if (KindOf(path) == FileKind::Other || !QDir().mkpath(QFileInfo(path).absolutePath()))
        refuse();
    QLockFile lock(path + ".lock");
    if (!lock.tryLock(kLockWaitMs))
        refuse();
    // Looked at again: another instance may have written the file while this one waited. A file
    // made read-only is not replaced, as QSettings would not write it.
    const FileKind kind = KindOf(path);
    if (kind == FileKind::Other ||
        (kind == FileKind::Regular && ::access(QFile::encodeName(path).constData(), W_OK) != 0))
        refuse();

    // The old text is kept as it is but for the entries written; one that cannot be read whole
    // is not replaced.
    QByteArray old;
    struct stat oldStatus {};
    if (kind == FileKind::Regular) {
        auto text = ReadRegular(path, &oldStatus);
        if (!text)
            refuse();
        old = std::move(*text);
    }
    IniEntries wanted;
    for (const auto& [key, value] : entries) {
        const QString full = IniNormalizedKey(Q(section) + "/" + Q(key));
        wanted.removeIf([&](const auto& e) { return e.first == full; });
        wanted.append({full, Q(value)});
    }

    // Only the holder of the lock above uses these names: anything left there is debris of a
    // save that was killed, and QSettings would wait on a stale lock of its own for ever.
    RemoveDebris(path);
    const std::function<std::optional<QByteArray>()> texts[] = {
        [&] { return IniMerged(old, wanted); },
        [&] { return IniPrefixed(old, wanted); },
        [&] { return rebuilt(old, wanted, path); },
    };
    for (const auto& make : texts) {
        const std::optional<QByteArray> text = make();
        if (!text)
            continue;
        const QString temp = freshName(path);
        // A short write on a full disk can still look successful: the disk's bytes are compared.
        if (!WriteNew(temp, *text) || !FileHolds(temp, *text)) {
            QFile::remove(temp);
            refuse();
        }
        if (!readsBack(temp, wanted)) {
            QFile::remove(temp);
            continue;
        }
        if (kind == FileKind::Regular)
            TakeOver(temp, oldStatus);
        if (!SyncPath(temp, O_RDONLY) || ::rename(QFile::encodeName(temp).constData(),
                                                  QFile::encodeName(path).constData()) != 0) {
            QFile::remove(temp);
            refuse();
        }
        SyncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
        // The next read sees what is on the disk now.
        m_settings.reset();
        m_path.clear();
        return;
    }
    refuse();
}

} // namespace toolkit::qt
