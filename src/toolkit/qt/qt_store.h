#pragma once
#include "toolkit/store.h"

#include <QSettings>
#include <QString>
#include <memory>

namespace toolkit::qt {

// The per-user settings file in QSettings' INI form: on Linux $XDG_CONFIG_HOME/PUPNAME.conf
// (default ~/.config), a group per section, values as plain text.
//
// QSettings reads and formats the file, but the replacement is ours: QSettings renames a short
// write over the old file on a full disk and waits for ever on a lock it cannot take. A write
// here formats the whole new file beside the old one, reads it back, syncs it to the disk and only
// then renames it over the old file, under a lock it waits for a bounded time.
class QtSettingsStore : public Store {
  public:
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void write(const std::string& app, const std::string& section, const Entries& entries) override;

  private:
    QSettings* settings(const std::string& app);
    std::unique_ptr<QSettings> m_settings;
    QString m_path;
    bool m_unreadable = false;
};

// The file that holds an application's settings, following a symbolic link to its target.
QString SettingsPath(const QString& app);

} // namespace toolkit::qt
