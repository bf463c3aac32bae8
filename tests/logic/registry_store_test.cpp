#include "toolkit/errors.h"
#include "toolkit/win32/win32_store.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using toolkit::win32::RegistryPath;
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

// Settings written by an earlier program of the same names are found where it put them, and
// what this program writes there stays readable to it: plain REG_SZ values.
TEST_F(RegistryStoreTest, KeepsTheClassicPlaceAndType) {
    EXPECT_EQ(RegistryPath(m_app, m_section),
              L"Software\\VB and VBA Program Settings\\PUPNAME\\APPNAME");
    const std::wstring path = RegistryPath(m_app, m_section, kRoot);
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

TEST_F(RegistryStoreTest, RefusedWritesRaise) {
    m_store.write(m_app, m_section, {{"text", "kept"}});
    // A save is all or nothing: value names have a limit, and the one past it undoes the others.
    const std::string tooLong(20000, 'k');
    EXPECT_THROW(m_store.write(m_app, m_section, {{"text", "new"}, {"added", "y"}, {tooLong, "x"}}),
                 toolkit::RuntimeError);
    EXPECT_EQ(m_store.read(m_app, m_section, "text"), "kept");
    EXPECT_EQ(m_store.read(m_app, m_section, "added"), std::nullopt);
    // So do key names: a section that cannot be made.
    EXPECT_THROW(m_store.write(m_app, std::string(300, 's'), {{"text", "x"}}),
                 toolkit::RuntimeError);
}

} // namespace
