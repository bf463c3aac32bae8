#pragma once
#include "toolkit/store.h"

namespace toolkit::win32 {

// The per-user registry place of Windows' classic application settings:
// HKCU\Software\VB and VBA Program Settings\<app>\<section>, one REG_SZ value per key.
class RegistryStore : public Store {
  public:
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void write(const std::string& app, const std::string& section, const Entries& entries) override;
};

std::wstring RegistryPath(const std::string& app, const std::string& section);

} // namespace toolkit::win32
