#include "toolkit/errors.h"
#include "toolkit/win32/win32_store.h"

#include <gtest/gtest.h>

#include <windows.h>

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
