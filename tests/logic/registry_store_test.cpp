#include "toolkit/errors.h"
#include "toolkit/win32/win32_store.h"
#include "toolkit/win32/win32_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using toolkit::win32::RegistryStore;

// The tests keep their keys under a root of their own and remove it afterwards.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { m_store.setRoot(kRoot); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }
    static constexpr const wchar_t* kRoot = L"Software\\kelm-store-test";
    const std::string m_app = "PUPNAME", m_section = "APPNAME";
    RegistryStore m_store;
};

TEST_F(RegistryStoreTest, ValuesRoundTripAndEmptyStaysDistinctFromAbsent) {
    const std::pair<std::string, std::string> rows[] = {
        {"Kelm-文本提示框_文本内容", "你好, 世界"},
        {"empty", ""},
        {"lines", "a\r\nb"},
    };
    m_store.write(m_app, m_section, {std::begin(rows), std::end(rows)});
    for (const auto& [key, value] : rows)
        EXPECT_EQ(m_store.read(m_app, m_section, key), value) << key;
    EXPECT_EQ(m_store.read(m_app, m_section, "absent"), std::nullopt);
    EXPECT_EQ(m_store.read(m_app, "other section", "empty"), std::nullopt);
}

// A value as the registry holds it: its type and bytes.
using Raw = std::pair<DWORD, std::vector<BYTE>>;

Raw text(const std::wstring& s) {
    const auto* p = reinterpret_cast<const BYTE*>(s.c_str());
    return {REG_SZ, {p, p + (s.size() + 1) * sizeof(wchar_t)}};
}

// Nothing when absent.
Raw stored(const std::wstring& path, const std::wstring& name) {
    DWORD type = 0, size = 0;
    const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), flags, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    Raw r{type, std::vector<BYTE>(size)};
    RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), flags, &type, r.second.data(),
                 &size);
    return r;
}

// A save is all or nothing: a value name past the limit undoes the batch, whatever it changed.
TEST_F(RegistryStoreTest, RefusedBatchLeavesEveryValueAsItWas) {
    const std::string tooLong(20000, 'k');
    const struct {
        const char* name;
        std::vector<std::pair<std::wstring, Raw>> before;
        toolkit::Store::Entries batch;
    } rows[] = {
        {"changed and added", {{L"text", text(L"kept")}}, {{"text", "new"}, {"added", "y"}}},
        {"named twice", {{L"text", text(L"kept")}}, {{"text", "a"}, {"text", "b"}}},
        {"not text",
         {{L"number", {REG_DWORD, {7, 0, 0, 0}}}, {L"empty", {REG_BINARY, {}}}},
         {{"number", "5"}, {"empty", "x"}}},
    };
    const std::wstring path = toolkit::win32::RegistryPath(m_app, m_section, kRoot);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
        for (const auto& [name, raw] : r.before)
            RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), raw.first,
                            raw.second.data(), DWORD(raw.second.size()));
        auto batch = r.batch;
        batch.emplace_back(tooLong, "x");
        EXPECT_THROW(m_store.write(m_app, m_section, batch), toolkit::RuntimeError);
        for (const auto& [key, value] : r.batch) {
            const std::wstring name = toolkit::win32::W(key);
            const auto it = std::find_if(r.before.begin(), r.before.end(),
                                         [&](const auto& b) { return b.first == name; });
            EXPECT_EQ(stored(path, name), it == r.before.end() ? Raw{} : it->second) << key;
        }
    }
}

} // namespace
