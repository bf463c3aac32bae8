#include "toolkit/errors.h"
#include "toolkit/win32/win32_store.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using toolkit::win32::RegistryPath;
using toolkit::win32::RegistryStore;

// Each test writes under an application name of its own and removes it afterwards.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER,
                       (L"Software\\VB and VBA Program Settings\\" + std::wstring(kApp)).c_str());
    }
    static constexpr const wchar_t* kApp = L"kelm-store-test";
    const std::string m_app = "kelm-store-test", m_section = "APPNAME";
    RegistryStore m_store;
};

TEST_F(RegistryStoreTest, ValuesRoundTripAndEmptyStaysDistinctFromAbsent) {
    const std::pair<std::string, std::string> rows[] = {
        {"Kelm-文本提示框_文本内容", "你好, 世界"},
        {"Kelm-文本提示框_left", "1500.5"},
        {"empty", ""},
        {"lines", "a\r\nb"},
        {"quoted \"key\"", "=;[x]"},
    };
    m_store.write(m_app, m_section, {std::begin(rows), std::end(rows)});
    for (const auto& [key, value] : rows)
        EXPECT_EQ(m_store.read(m_app, m_section, key), value) << key;
    EXPECT_EQ(m_store.read(m_app, m_section, "absent"), std::nullopt);
    EXPECT_EQ(m_store.read(m_app, "other section", "empty"), std::nullopt);
}

// Settings written by an earlier program of the same names are found where it put them.
TEST_F(RegistryStoreTest, ReadsTheClassicPlaceAsText) {
    const std::wstring path = RegistryPath(m_app, m_section);
    EXPECT_EQ(path, L"Software\\VB and VBA Program Settings\\kelm-store-test\\APPNAME");
    const wchar_t value[] = L"黑体";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), L"Kelm-文本提示框_字体名称", REG_SZ,
                              value, sizeof value),
              ERROR_SUCCESS);
    EXPECT_EQ(m_store.read(m_app, m_section, "Kelm-文本提示框_字体名称"), "黑体");
    m_store.write(m_app, m_section, {{"Kelm-文本提示框_字体名称", "宋体"}});
    DWORD type = 0;
    RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"Kelm-文本提示框_字体名称", RRF_RT_ANY, &type,
                 nullptr, nullptr);
    EXPECT_EQ(type, DWORD(REG_SZ));
}

TEST_F(RegistryStoreTest, RefusedWriteRaisesAfterTheEntriesBeforeIt) {
    m_store.write(m_app, m_section, {{"text", "kept"}});
    // A value name longer than the registry takes is refused.
    const std::string tooLong(20000, 'k');
    EXPECT_THROW(m_store.write(m_app, m_section, {{"text", "lost"}, {tooLong, "x"}}),
                 toolkit::RuntimeError);
    EXPECT_EQ(m_store.read(m_app, m_section, "text"),
              "lost"); // written in order, up to the refusal
    EXPECT_THROW(m_store.write(m_app, std::string(300, 's'), {{"text", "x"}}),
                 toolkit::RuntimeError);
}

} // namespace
