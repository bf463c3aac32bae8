#include "services/config.h"
#include "store_only_realisation.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace FMain;

namespace {

class ConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::InstallStoreOnlyRealisation();
        char dir[] = "/tmp/kelm-config-XXXXXX";
        m_dir = mkdtemp(dir);
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    }
    void TearDown() override {
        toolkit::RemoveRealisation();
        fs::remove_all(m_dir);
    }
    std::string fileText() const {
        std::ifstream in(m_dir / "PUPNAME.conf");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path m_dir;
};

TEST_F(ConfigTest, AbsentEntriesGiveTheDefaultsTextForm) {
    const struct {
        const Setting& setting;
        const char* text;
    } rows[] = {
        {Settings::Text, "[文本内容]"},
        {Settings::Left, "0"},
        {Settings::Top, "0"},
        {Settings::Width, "3000"},
        {Settings::Height, "705"},
        {Settings::FontSize, "14.5"},
        {Settings::FontName, "微软雅黑"},
        {Settings::FontColor, "16777215"},
        {Settings::BackColor, "4210752"},
        {Settings::BoxHeight, "705"},
        {Settings::Alpha, "255"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(GetConfig(r.setting), r.text) << r.setting.suffix;
}

TEST_F(ConfigTest, EmptyTextIsStoredNotDefaulted) {
    SaveConfig(Settings::Text.key(), std::string());
    EXPECT_EQ(GetConfig(Settings::Text), "");
}

TEST_F(ConfigTest, ValuesRoundTripAsText) {
    const std::string texts[] = {"你好, 世界", "@Variant(0)", "a=b;c",
                                 "  spaced  ", "line\nbreak", "\"quoted\""};
    for (const std::string& t : texts) {
        SaveConfig(Settings::Text.key(), t);
        EXPECT_EQ(GetConfig(Settings::Text), t);
    }
}

TEST_F(ConfigTest, NumbersAreStoredInTheirNumberText) {
    SaveConfig(Settings::Left.key(), 1500.5f);
    SaveConfig(Settings::FontSize.key(), 10.5);
    SaveConfig(Settings::BackColor.key(), 4210752.0);
    EXPECT_EQ(GetConfig(Settings::Left), "1500.5");
    EXPECT_EQ(GetConfig(Settings::FontSize), "10.5");
    EXPECT_EQ(GetConfig(Settings::BackColor), "4210752");
}

TEST_F(ConfigTest, FileIsPerUserUnderTheApplicationAndSection) {
    SaveConfig(Settings::FontName.key(), std::string("宋体"));
    const std::string text = fileText();
    EXPECT_NE(text.find("[APPNAME]"), std::string::npos) << text;
    EXPECT_NE(text.find("宋体"), std::string::npos) << text;
}

TEST_F(ConfigTest, HandWrittenChineseKeysAreRead) {
    std::ofstream(m_dir / "PUPNAME.conf") << "[APPNAME]\nKelm-文本提示框_字体名称=黑体\n"
                                          << "Kelm-文本提示框_文本内容=a,b\n";
    EXPECT_EQ(GetConfig(Settings::FontName), "黑体");
    EXPECT_EQ(GetConfig(Settings::Text), "a,b");
}

TEST_F(ConfigTest, EachTestHasItsOwnStore) {
    EXPECT_EQ(GetConfig(Settings::Text), "[文本内容]");
    SaveConfig(Settings::Text.key(), std::string("x"));
    EXPECT_TRUE(fs::exists(m_dir / "PUPNAME.conf"));
}

TEST_F(ConfigTest, RefusedWriteRaisesAndKeepsWhatWasStored) {
    SaveConfig(Settings::Text.key(), std::string("kept"));
    // A configuration directory below a plain file cannot be created, even by root.
    const fs::path blocker = m_dir / "blocker";
    std::ofstream(blocker) << "x";
    setenv("XDG_CONFIG_HOME", (blocker / "sub").c_str(), 1);
    try {
        SaveConfig(Settings::Text.key(), std::string("lost"));
        FAIL() << "the write was not refused";
    } catch (const toolkit::RuntimeError& e) {
        EXPECT_NE(e.Description().find("无法保存设置"), std::string::npos);
    }
    setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    EXPECT_EQ(GetConfig(Settings::Text), "kept");
}

} // namespace
