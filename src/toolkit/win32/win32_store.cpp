#include "win32_store.h"

#include "toolkit/errors.h"
#include "win32_text.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace toolkit::win32 {

std::wstring RegistryPath(const std::string& app, const std::string& section,
                          const std::wstring& root) {
    return root + L"\\" + W(app) + L"\\" + W(section);
}

std::optional<std::string> RegistryStore::read(const std::string& app, const std::string& section,
                                               const std::string& key) {
    const std::wstring path = RegistryPath(app, section, m_root), name = W(key);
    DWORD type = 0, bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, &type, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = DWORD(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, &type,
                     value.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return U8(value.c_str());
}

namespace {
LSTATUS setText(HKEY key, const std::wstring& name, const std::wstring& value) {
    return RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(wchar_t)));
}
} // namespace

// The registry has no transaction here: the entries are written in order, and when one is refused
// those already written get their old values back, so that a save is all or nothing.
void RegistryStore::write(const std::string& app, const std::string& section,
                          const Entries& entries) {
    const std::wstring path = RegistryPath(app, section, m_root);
    HKEY key = nullptr;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                 KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr);
    std::vector<std::pair<std::wstring, std::optional<std::string>>> before;
    for (size_t i = 0; rc == ERROR_SUCCESS && i < entries.size(); ++i) {
        const std::wstring name = W(entries[i].first);
        before.emplace_back(name, read(app, section, entries[i].first));
        rc = setText(key, name, W(entries[i].second));
    }
    if (rc != ERROR_SUCCESS && key) {
        for (const auto& [name, old] : before) {
            if (old)
                setText(key, name, W(*old));
            else
                RegDeleteValueW(key, name.c_str());
        }
    }
    if (key)
        RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        throw RuntimeError("无法保存设置: HKEY_CURRENT_USER\\" + U8(path));
}

} // namespace toolkit::win32
