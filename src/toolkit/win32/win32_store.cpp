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

// A value as it was before a batch changed it: whether it existed, and then its type and bytes
// whatever they are (another program may have left a number under one of our names).
struct Previous {
    std::wstring name;
    bool existed = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

LSTATUS remember(HKEY key, const std::wstring& name, Previous& out) {
    out = Previous{};
    out.name = name;
    DWORD size = 0;
    LSTATUS rc = RegQueryValueExW(key, name.c_str(), nullptr, &out.type, nullptr, &size);
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        out.bytes.resize(size);
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &out.type, out.bytes.data(), &size);
        if (rc == ERROR_SUCCESS) {
            out.bytes.resize(size);
            out.existed = true;
            return rc;
        }
    }
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

void restore(HKEY key, const Previous& p) {
    if (p.existed)
        RegSetValueExW(key, p.name.c_str(), 0, p.type, p.bytes.data(), DWORD(p.bytes.size()));
    else
        RegDeleteValueW(key, p.name.c_str());
}
} // namespace

// The registry has no transaction here: the entries are written in order, and when one is refused
// those already written get their old values back, latest first so that a name the batch wrote
// twice ends as it began: a save is all or nothing. A value that cannot be read first is not
// overwritten.
void RegistryStore::write(const std::string& app, const std::string& section,
                          const Entries& entries) {
    const std::wstring path = RegistryPath(app, section, m_root);
    HKEY key = nullptr;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                 KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr);
    std::vector<Previous> written;
    for (size_t i = 0; rc == ERROR_SUCCESS && i < entries.size(); ++i) {
        const std::wstring name = W(entries[i].first);
        Previous before;
        rc = remember(key, name, before);
        if (rc == ERROR_SUCCESS)
            rc = setText(key, name, W(entries[i].second));
        if (rc == ERROR_SUCCESS)
            written.push_back(std::move(before));
    }
    if (rc != ERROR_SUCCESS)
        for (auto it = written.rbegin(); it != written.rend(); ++it)
            restore(key, *it);
    if (key)
        RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        throw RuntimeError("无法保存设置: HKEY_CURRENT_USER\\" + U8(path));
}

} // namespace toolkit::win32
