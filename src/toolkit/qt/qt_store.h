#pragma once
#include "toolkit/store.h"

#include <QSettings>
#include <QString>
#include <memory>

namespace toolkit::qt {

// The per-user settings file in QSettings' INI form: on Linux $XDG_CONFIG_HOME/PUPNAME.conf
// (default ~/.config), a group per section, values as plain text.
//
// QSettings reads and writes it, but never writes the file itself: QSettings renames a short
// write over the old file on a full disk and waits for ever on a lock it cannot take. A save
// copies the old file to a new name only its owner can read, lets QSettings set the entries
// there, reads the whole copy back from the disk under a name QSettings has never cached, and
// only when every entry means what it should, syncs it and renames it over the old file, under a
// lock it waits for a bounded time. Whatever fails on the way, the old file stays as it was.
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

// The file that holds an application's settings, at the end of its symbolic links.
QString SettingsPath(const QString& app);

} // namespace toolkit::qt
