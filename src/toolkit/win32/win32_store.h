#pragma once
#include "toolkit/store.h"

namespace toolkit::win32 {

// The per-user registry place of Windows' classic application settings:
// HKCU\Software\VB and VBA Program Settings\<app>\<section>, one REG_SZ value per key.
class RegistryStore : public Store {
  public:
    static constexpr const wchar_t* kClassicRoot = L"Software\\VB and VBA Program Settings";
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void write(const std::string& app, const std::string& section, const Entries& entries) override;
    // Where the applications' keys live under HKEY_CURRENT_USER; tests point it elsewhere.
    void setRoot(const std::wstring& root) { m_root = root; }

  private:
    std::wstring m_root = kClassicRoot;
};

std::wstring RegistryPath(const std::string& app, const std::string& section,
                          const std::wstring& root = RegistryStore::kClassicRoot);

} // namespace toolkit::win32
