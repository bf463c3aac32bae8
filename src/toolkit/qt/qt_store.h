#pragma once
#include "toolkit/store.h"

#include <QSettings>
#include <QString>
#include <memory>

namespace toolkit::qt {

// The per-user settings file in QSettings' INI form: on Linux $XDG_CONFIG_HOME/PUPNAME.conf
// (default ~/.config), a group per section, values as plain text.
//
// QSettings reads the file, but the replacement is ours: QSettings renames a short write over the
// old file on a full disk, waits for ever on a lock it cannot take, and rewrites every entry, so
// that one it cannot write back as it read it (a NaN, two keys it folds into one) would fail every
// save that checks them. A write here keeps the old text byte for byte but for the lines of the
// entries written (QSettings writes it anew only where no line can hold them), puts it beside the
// old file, compares the disk's bytes and reads the entries back through QSettings, syncs it and
// only then renames it over the old file, under a lock it waits for a bounded time.
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
