#pragma once
#include "toolkit/store.h"

#include <QSettings>
#include <QString>
#include <memory>

namespace toolkit::qt {

// QSettings in its native, per-user form: on Linux $XDG_CONFIG_HOME/PUPNAME.conf (default
// ~/.config), a group per section. Values are plain text.
class QtSettingsStore : public Store {
  public:
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void write(const std::string& app, const std::string& section, const Entries& entries) override;

  private:
    QSettings& settings(const std::string& app);
    std::unique_ptr<QSettings> m_settings;
    QString m_app, m_path;
};

} // namespace toolkit::qt
