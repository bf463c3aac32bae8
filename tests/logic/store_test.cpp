// The settings store as the windows see it, and the settings file under the faults a user's disk
// can have, each made for real.
#include "services/config.h"
#include "store_only_realisation.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace FMain;

namespace {

const std::string kOld = "[APPNAME]\nKelm-文本提示框_left=450\nKelm-文本提示框_top=300\n";

std::string textOf(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Saves what the prompt window saves at exit, as one batch.
void saveAtExit(const std::string& text) {
    ConfigBatch batch;
    SaveConfig(Settings::Text.key(), text);
    SaveConfig(Settings::Left.key(), 1500.0f);
    SaveConfig(Settings::Top.key(), 600.0f);
    batch.Commit();
}

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::InstallStoreOnlyRealisation();
        char dir[] = "/tmp/kelm-faults-XXXXXX";
        m_dir = mkdtemp(dir);
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
        m_file = m_dir / "PUPNAME.conf";
    }
    void TearDown() override {
        toolkit::RemoveRealisation();
        if (m_mounted)
            umount2(m_dir.c_str(), MNT_DETACH);
        fs::remove_all(m_dir);
    }
    // A file system of a few pages holding the old file and nearly full.
    bool fillDisk() {
        if (mount("kelm", m_dir.c_str(), "tmpfs", 0, "size=16k") != 0)
            return false;
        m_mounted = true;
        std::ofstream(m_file) << kOld;
        std::ofstream filler(m_dir / "filler");
        const std::string page(4096, 'x');
        while (filler.write(page.data(), page.size()) && filler.flush()) {
        }
        return true;
    }
    // What a refused save must leave: the old file as it was, and no debris.
    void expectUntouched() {
        EXPECT_EQ(textOf(m_file), kOld);
        for (const auto& e : fs::directory_iterator(m_dir)) {
            const std::string name = e.path().filename();
            EXPECT_TRUE(name == "PUPNAME.conf" || name == "filler" || name == "PUPNAME.conf.lock")
                << name;
        }
    }
    fs::path m_dir, m_file;
    bool m_mounted = false;
};

std::string refusal(const std::function<void()>& save) {
    try {
        save();
    } catch (const toolkit::RuntimeError& e) {
        return e.Description();
    }
    return {};
}

TEST_F(StoreTest, FullDiskRefusesTheSaveAndKeepsTheOldFile) {
    if (!fillDisk())
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    EXPECT_NE(refusal([] { saveAtExit(std::string(8000, 'y')); }), "");
    expectUntouched();
    EXPECT_EQ(GetConfig(Settings::Left), "450") << "nothing of the batch was written";
}

TEST_F(StoreTest, LockThatCannotBeTakenIsARefusalNotAWait) {
    std::ofstream(m_file) << kOld;
    fs::create_directory(m_dir / "PUPNAME.conf.lock");
    EXPECT_NE(refusal([] { saveAtExit("x"); }), "");
    expectUntouched();
}

TEST_F(StoreTest, NonRegularFileReadsAsDefaultsAndRefusesTheSave) {
    for (const bool fifo : {true, false}) {
        fs::remove_all(m_file);
        if (fifo)
            ASSERT_EQ(mkfifo(m_file.c_str(), 0600), 0);
        else
            fs::create_directory(m_file);
        toolkit::RemoveRealisation();
        testing_support::InstallStoreOnlyRealisation();
        EXPECT_EQ(GetConfig(Settings::Left), "0") << "no read blocks on it";
        EXPECT_NE(refusal([] { saveAtExit("x"); }), "");
        EXPECT_EQ(fs::status(m_file).type(), fifo ? fs::file_type::fifo : fs::file_type::directory);
    }
}

TEST_F(StoreTest, SaveAfterReadingAMalformedFileSucceeds) {
    std::ofstream(m_file)
        << "[APPNAME\nKelm-文本提示框_left=450\n[APPNAME]\nKelm-文本提示框_top=300\n";
    EXPECT_EQ(GetConfig(Settings::Top), "300");
    EXPECT_EQ(refusal([] { saveAtExit("新的"); }), "");
    toolkit::RemoveRealisation();
    testing_support::InstallStoreOnlyRealisation();
    EXPECT_EQ(GetConfig(Settings::Text), "新的");
    EXPECT_EQ(GetConfig(Settings::Left), "1500");
}

TEST_F(StoreTest, ReplacementKeepsTheFilesLinkAndPermissions) {
    fs::create_directory(m_dir / "dotfiles");
    std::ofstream(m_dir / "dotfiles" / "kelm.conf") << kOld;
    fs::permissions(m_dir / "dotfiles" / "kelm.conf",
                    fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("dotfiles/kelm.conf", m_file);
    saveAtExit("linked");
    EXPECT_TRUE(fs::is_symlink(m_file));
    EXPECT_EQ(fs::status(m_file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(textOf(m_file).find("linked"), std::string::npos);
}

TEST_F(StoreTest, RelativeConfigHomeIsIgnored) {
    setenv("HOME", m_dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative", 1);
    saveAtExit("x");
    EXPECT_TRUE(fs::exists(m_dir / ".config" / "PUPNAME.conf"));
}

TEST_F(StoreTest, ValuesRoundTripAsText) {
    // The empty text is kept as such, not taken for a missing entry.
    const std::string texts[] = {"你好, 世界",  "@Variant(0)", "a=b;c", "  spaced  ",
                                 "line\nbreak", "\"quoted\"",  ""};
    for (const std::string& t : texts) {
        SaveConfig(Settings::Text.key(), t);
        EXPECT_EQ(GetConfig(Settings::Text), t);
    }
    EXPECT_NE(textOf(m_file).find("[APPNAME]"), std::string::npos) << "the section is kept";
}

TEST_F(StoreTest, HandWrittenChineseKeysAreRead) {
    std::ofstream(m_dir / "PUPNAME.conf") << "[APPNAME]\nKelm-文本提示框_字体名称=黑体\n"
                                          << "Kelm-文本提示框_文本内容=a,b\n";
    EXPECT_EQ(GetConfig(Settings::FontName), "黑体");
    EXPECT_EQ(GetConfig(Settings::Text), "a,b");
}

TEST_F(StoreTest, RefusedWriteRaisesAndKeepsWhatWasStored) {
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
