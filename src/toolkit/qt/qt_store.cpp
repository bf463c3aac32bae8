#include "qt_store.h"

#include "qt_convert.h"
#include "toolkit/errors.h"

#include <QDir>
#include <QStringList>
#include <cstdlib>

namespace toolkit::qt {

namespace {
// Where the native format keeps a user's file. Looked up at every access rather than once per
// process as QSettings does, so that XDG_CONFIG_HOME means what it says when it changes.
QString configPath(const QString& app) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const QString dir = (xdg && *xdg) ? QString::fromLocal8Bit(xdg) : QDir::homePath() + "/.config";
    return dir + "/" + app + ".conf";
#else
    return app;
#endif
}
} // namespace

QSettings& QtSettingsStore::settings(const std::string& app) {
    const QString name = Q(app);
    const QString path = configPath(name);
    if (!m_settings || m_app != name || m_path != path) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
        m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
#else
        m_settings =
            std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, name);
#endif
        m_app = name;
        m_path = path;
    }
    return *m_settings;
}

std::optional<std::string> QtSettingsStore::read(const std::string& app, const std::string& section,
                                                 const std::string& key) {
    QSettings& s = settings(app);
    const QString full = Q(section) + "/" + Q(key);
    if (!s.contains(full))
        return std::nullopt;
    const QVariant v = s.value(full);
    // A hand-edited line with commas reads back as a list: keep it as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return S(v.toStringList().join(QLatin1Char(',')));
    return S(v.toString());
}

void QtSettingsStore::write(const std::string& app, const std::string& section,
                            const Entries& entries) {
    QSettings& s = settings(app);
    for (const auto& [key, value] : entries)
        s.setValue(Q(section) + "/" + Q(key), Q(value));
    s.sync();
    if (s.status() != QSettings::NoError) {
        const QString file = s.fileName();
        // Forget the value that did not reach the disk: later reads show what is stored.
        m_settings.reset();
        throw RuntimeError("无法保存设置: " + S(file));
    }
}

} // namespace toolkit::qt
