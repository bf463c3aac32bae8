#include "qt_store.h"

#include "qt_convert.h"
#include "settings_file.h"
#include "toolkit/errors.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QStringDecoder>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace toolkit::qt {

namespace {

// Long enough for every copy ending at once at a logout to save in turn, short enough that an end
// never hangs on a copy that holds the lock and does not let go.
constexpr int kLockWaitMs = 10000;
// QLockFile waits ever longer between its own tries (up to six seconds): copies waiting together
// would miss the releases between them.
constexpr int kLockRetryMs = 20;

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

// An entry as the program reads it. A hand-edited line with commas reads back as a list (of
// texts, or of values when one of them begins with '@'): it is the text it was. Bytes are the
// UTF-8 they hold, a byte order mark at the start included.
QString entryText(const QVariant& v) {
    if (v.typeId() == QMetaType::QStringList || v.typeId() == QMetaType::QVariantList)
        return v.toStringList().join(QLatin1Char(','));
    if (v.typeId() == QMetaType::QByteArray) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return utf8(v.toByteArray());
    }
    return v.toString();
}

// Half of a surrogate pair, which a hand-written escape can make, is no character: QSettings
// writes it as U+FFFD, or drops the whole value. It is kept as U+FFFD.
QString whole(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// QSettings writes U+FEFF as it is and its reader drops one where a run of text starts (at the
// value's start, after an escape): a text holding one is stored as the bytes of its UTF-8, which
// QSettings writes escaped and gives back whole.
QVariant storable(const QVariant& v) {
    if (v.typeId() != QMetaType::QByteArray) {
        const QString text = entryText(v), kept = whole(text);
        if (kept.contains(QChar(0xFEFF)))
            return kept.toUtf8();
        if (kept != text)
            return kept;
    }
    return v;
}

// A lookup finds a key as "a/b" whatever slashes it is given: an entry a file names "/a" or "a//b"
// is never found, and is no part of what the file says.
QString lookedUp(const QString& key) {
    return key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

// QSettings writes a group named "general" in any case as [%General], which reads back as
// "General": the one name it cannot give back as it was. Its entries are kept under that name.
QString asWritten(const QString& key) {
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    if (slash != 7 || !key.startsWith(QLatin1String("general"), Qt::CaseInsensitive))
        return key;
    return QLatin1String("General") + key.mid(slash);
}

using KeyValues = QList<std::pair<QString, QVariant>>;
KeyValues reachable(const QSettings& s) {
    KeyValues entries;
    for (const QString& key : s.allKeys())
        if (!key.isEmpty() && lookedUp(key) == key)
            entries.append({key, s.value(key)});
    return entries;
}

// What a file says: every entry a lookup finds, with its text.
using Meaning = QMap<QString, QString>;
Meaning meaningOf(const QString& file) {
    Meaning meaning;
    for (const auto& [key, value] : reachable(*openSettings(file)))
        meaning.insert(key, entryText(value));
    return meaning;
}

// Sets the entries in a file that holds a copy of the old one; what the file must say afterwards,
// or nothing when QSettings could not write it.
std::optional<Meaning> rewrite(const QString& file, const KeyValues& wanted) {
    auto s = openSettings(file);
    const KeyValues kept = reachable(*s);
    // Written anew, every one of them: QSettings would write an entry no lookup finds as one that
    // is found, in place of the one that was.
    s->clear();
    Meaning meaning;
    for (const KeyValues* entries : {&kept, &wanted}) {
        for (const auto& [key, value] : *entries) {
            const QVariant stored = storable(value);
            s->setValue(key, stored);
            meaning.insert(asWritten(lookedUp(key)), entryText(stored));
        }
    }
    s->sync();
    // A file QSettings could not parse whole keeps that status, and hides a failed write: the
    // disk is asked below in any case.
    if (s->status() == QSettings::AccessError)
        return std::nullopt;
    return meaning;
}

// Waited for while another copy holds it; one a killed copy left is taken over at once. Not when it
// cannot be made (a read-only folder), nor when something other than a file is in its place:
// QLockFile would read a FIFO there for ever.
bool lock(QLockFile& file, const QString& name) {
    const QDeadlineTimer deadline(kLockWaitMs);
    for (;;) {
        if (KindOf(name) == FileKind::Other)
            return false;
        if (file.tryLock(kLockRetryMs))
            return true;
        if (file.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
    }
}

// QSettings keeps what it has read of a file by name and takes a file of the same size and time as
// unchanged: each file written here gets a name this process has never used, with nothing in the
// place of the lock QSettings takes beside it, which it waits for without end. Nothing when no
// such name can be looked at: one longer than the file system takes is never missing.
std::optional<QString> freshName(const QString& path) {
    static int serial = 0;
    for (int tries = 0; tries < 100; ++tries) {
        const QString name = path + ".new." + QString::number(++serial);
        if (KindOf(name) == FileKind::Missing && KindOf(name + ".lock") == FileKind::Missing)
            return name;
    }
    return std::nullopt;
}

bool renamed(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

QString SettingsPath(const QString& app) {
    return LinkEnd(configDir() + "/" + app + ".conf");
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
    const QString name = Q(section) + "/" + Q(key);
    if (!s || !s->contains(name))
        return std::nullopt;
    // As a save would write it back: the same text before the save and after.
    return S(whole(entryText(s->value(name))));
}

void QtSettingsStore::write(const std::string& app, const std::string& section,
                            const Entries& entries) {
    const QString path = SettingsPath(Q(app));
    auto refuse = [&] { throw RuntimeError("无法保存设置: " + S(path)); };

    if (KindOf(path) == FileKind::Other || !QDir().mkpath(QFileInfo(path).absolutePath()))
        refuse();
    const QString lockName = path + ".lock";
    QLockFile lockFile(lockName);
    if (!lock(lockFile, lockName))
        refuse();
    // Looked at again: another copy may have written the file while this one waited. A file
    // made read-only is not replaced, as QSettings would not write it.
    const FileKind kind = KindOf(path);
    if (kind == FileKind::Other ||
        (kind == FileKind::Regular && ::access(QFile::encodeName(path).constData(), W_OK) != 0))
        refuse();
    QByteArray old;
    struct stat oldStatus {};
    if (kind == FileKind::Regular) {
        auto text = ReadRegular(path, &oldStatus);
        if (!text)
            refuse();
        old = std::move(*text);
    }
    KeyValues wanted;
    for (const auto& [key, value] : entries)
        wanted.append({Q(section) + "/" + Q(key), Q(value)});

    // Only the holder of the lock above uses these names: anything left there is debris of a
    // save that was killed, and QSettings would wait on a stale lock of its own for ever.
    RemoveDebris(path);
    const std::optional<QString> copyName = freshName(path), checkedName = freshName(path);
    if (!copyName || !checkedName)
        refuse();
    const QString &copy = *copyName, &checked = *checkedName;
    std::optional<Meaning> meaning;
    const bool written =
        WriteNew(copy, old) && (meaning = rewrite(copy, wanted)) && renamed(copy, checked);
    if (written && kind == FileKind::Regular)
        TakeOver(checked, oldStatus);
    if (!written || !SyncPath(checked, O_RDONLY) || meaningOf(checked) != *meaning ||
        !renamed(checked, path)) {
        QFile::remove(copy);
        QFile::remove(checked);
        refuse();
    }
    SyncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
    // The next read sees what is on the disk now.
    m_settings.reset();
    m_path.clear();
}

} // namespace toolkit::qt
