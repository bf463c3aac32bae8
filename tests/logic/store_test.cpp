// The settings store as the windows see it, and the settings file under the faults a user's disk
// can have, each made for real.
#include "services/config.h"
#include "toolkit/errors.h"
#include "toolkit/qt/qt_store.h"
#include "toolkit/qt/settings_file.h"
#include "toolkit/realisation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <sys/mount.h>

namespace fs = std::filesystem;
using namespace FMain;
using namespace std::string_literals;

namespace {

// A realisation that has the settings store and nothing else: these tests open no window.
class StoreOnly : public toolkit::Realisation {
  public:
    std::unique_ptr<toolkit::WindowPeer> createWindow(const toolkit::WindowDesign&,
                                                      toolkit::WindowSink&) override {
        std::abort();
    }
    double twipsPerPixel() const override { return 15; }
    std::vector<toolkit::Monitor> screens() const override {
        return {{{0, 0, 19200, 12000}, {0, 0, 19200, 12000}}};
    }
    int messageBox(const std::string&, int, const std::string&) override { std::abort(); }
    toolkit::Store& store() override { return m_store; }
    int run() override { return 0; }
    void quit() override {}
    void leaveScreen() override {}
    void systemMove(uintptr_t) override {}
    void setTopmost(uintptr_t) override {}
    void setAlpha(uintptr_t, uint8_t) override {}
    void shellOpen(const std::string&) override {}
    std::optional<int32_t> chooseColor(uintptr_t) override { return std::nullopt; }
    std::optional<toolkit::FontChoice> chooseFont(const toolkit::FontSeed&) override {
        return std::nullopt;
    }

  private:
    toolkit::qt::QtSettingsStore m_store;
};

// A new start of the program: nothing it read before is remembered.
void restart() {
    toolkit::RemoveRealisation();
    toolkit::InstallRealisation(std::make_unique<StoreOnly>());
}

const std::string kOld = "[APPNAME]\nKelm-文本提示框_left=450\nKelm-文本提示框_top=300\n";

std::string textOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
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
        toolkit::InstallRealisation(std::make_unique<StoreOnly>());
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
        fs::remove(m_dir.string() + ".img");
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
    if (mount("kelm", m_dir.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    m_mounted = true;
    std::ofstream(m_file) << kOld;
    std::ofstream filler(m_dir / "filler");
    const std::string page(4096, 'x');
    while (filler.write(page.data(), page.size()) && filler.flush()) {
    }
    EXPECT_NE(refusal([] { saveAtExit(std::string(8000, 'y')); }), "");
    EXPECT_EQ(textOf(m_file), kOld);
    EXPECT_EQ(GetConfig(Settings::Left), "450") << "nothing of the batch was written";
    for (const auto& e : fs::directory_iterator(m_dir)) {
        const std::string name = e.path().filename();
        EXPECT_TRUE(name == "PUPNAME.conf" || name == "filler" || name == "PUPNAME.conf.lock")
            << name;
    }
}

TEST_F(StoreTest, DirectoryInPlaceOfTheFileReadsAsDefaultsAndRefusesTheSave) {
    fs::create_directory(m_file);
    EXPECT_EQ(GetConfig(Settings::Left), "0");
    EXPECT_NE(refusal([] { saveAtExit("x"); }), "");
    EXPECT_TRUE(fs::is_directory(m_file));
}

TEST_F(StoreTest, DamagedFilesKeepTheirLinesAndTakeTheSave) {
    // Each file holds the position 450/300 and lines that no save used to get past, or that hid
    // the position: those are kept as they are.
    const struct {
        const char* what;
        std::string head, kept, tail;
    } files[] = {
        {"NaN double elsewhere", kOld,
         "[Other]\nd=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\n", ""},
        {"NaN point elsewhere", kOld,
         "[Other]\np=@Variant(\\0\\0\\0\\x1a\\x7f\\xf8\\0\\0\\0\\0\\0\\0?\\xf0\\0\\0\\0\\0\\0\\0)"
         "\n",
         ""},
        {"two keys read as one", "", "/?=\n?=\n", kOld},
        {"two keys read as one, raw bytes", "", "/\x9e=\n\x9e=\n", kOld},
        {"two keys read as one, NUL bytes", "", "/\0\x1b=\n\0\x1b=\x01\0\0\n"s, kOld},
        {"a section sorted between ours and its keys", kOld, "[APPNAME\\]\nx=1\n", ""},
        {"a header without its bracket", "", "[APPNAME\n",
         "Kelm-文本提示框_left=450\n[APPNAME]\nKelm-文本提示框_top=300\n"},
        {"a quote open to the end", kOld, "Kelm-x=\"open\n", ""},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        restart();
        std::ofstream(m_file, std::ios::binary) << f.head + f.kept + f.tail;
        EXPECT_EQ(GetConfig(Settings::Left), "450");
        EXPECT_EQ(refusal([] { saveAtExit("新的"); }), "");
        restart();
        EXPECT_EQ(GetConfig(Settings::Text), "新的");
        EXPECT_EQ(GetConfig(Settings::Left), "1500");
        EXPECT_EQ(GetConfig(Settings::Top), "600");
        EXPECT_NE(textOf(m_file).find(f.kept), std::string::npos);
    }
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

TEST_F(StoreTest, KeysAndValuesRoundTripAsText) {
    // Every character the file gives a meaning to, at either end and inside; the empty text is
    // kept as such, not taken for a missing entry.
    const std::vector<std::string> texts = {
        "",
        "  spaced  ",
        "\ttabbed\t",
        "a,b",
        "a, b",
        ",",
        ";x",
        "x;y",
        "=",
        "a=b",
        "\"q\"",
        "\"",
        "\\",
        "end\\",
        "\\n",
        "@",
        "@Variant(0)",
        "@@x",
        "@Invalid()",
        "@String(x)",
        "line\nbreak",
        "\r\n",
        "\x01\x1f"
        "1f",
        "nul\0"
        "7"s,
        "\x7f",
        "你好, 世界",
        "😀",
        "[APPNAME]",
        "%U6587",
        "#x",
        "a/b",
    };
    toolkit::qt::QtSettingsStore store;
    // First as new lines, then over those lines with the texts moved on by one.
    for (const size_t shift : {0, 1}) {
        toolkit::Store::Entries entries;
        for (size_t i = 0; i < texts.size(); ++i)
            entries.push_back({"k" + texts[i], texts[(i + shift) % texts.size()]});
        store.write("PUPNAME", "APPNAME", entries);
        toolkit::qt::QtSettingsStore fresh;
        for (const auto& [key, text] : entries)
            EXPECT_EQ(fresh.read("PUPNAME", "APPNAME", key), text) << key;
    }
    EXPECT_EQ(textOf(m_file).find("\n[APPNAME]"), std::string::npos)
        << "one section, changed in place";

    // A key QSettings files outside the section: the file is written anew, keeping the rest.
    store.write("PUPNAME", "APPNAME", {{"", "empty key"}});
    toolkit::qt::QtSettingsStore fresh;
    EXPECT_EQ(fresh.read("PUPNAME", "APPNAME", ""), "empty key");
    EXPECT_EQ(fresh.read("PUPNAME", "APPNAME", "k@"), "@Variant(0)");
}

TEST_F(StoreTest, ReplacementOfTheSameSizeIsReadAnewOnACoarseClock) {
    // ext4 with small inodes keeps modification times to the second: saves within one second
    // leave it as it was, and QSettings takes a file of unchanged size and time for the one it
    // read.
    const std::string image = m_dir.string() + ".img";
    const std::string mount = "truncate -s 4M " + image + " && mkfs.ext4 -q -F -I 128 " + image +
                              " >/dev/null 2>&1 && mount -o loop " + image + " " + m_dir.string() +
                              " 2>/dev/null";
    if (std::system(mount.c_str()) != 0)
        GTEST_SKIP() << "cannot mount a loop file system here (needs root)";
    m_mounted = true;
    for (const char* text : {"aaaa", "bbbb", "cccc"}) {
        SaveConfig(Settings::Text.key(), std::string(text));
        EXPECT_EQ(GetConfig(Settings::Text), text);
    }
}

TEST_F(StoreTest, DebrisOfKilledSavesIsClearedAndOtherFilesKept) {
    // A lock QSettings left would hold the next save that writes through it for ever.
    for (const char* name : {"PUPNAME.conf.new", "PUPNAME.conf.new.lock", "PUPNAME.conf.new.3",
                             "PUPNAME.conf.new.3.lock", "PUPNAME.conf.new.3.lock.rmlock",
                             "PUPNAME.conf.new.backup", "PUPNAME.conf.newer"})
        std::ofstream(m_dir / name) << "x";
    saveAtExit("x");
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(m_dir))
        left.insert(e.path().filename());
    EXPECT_EQ(left, (std::set<std::string>{"PUPNAME.conf", "PUPNAME.conf.new.backup",
                                           "PUPNAME.conf.newer"}));
}

TEST_F(StoreTest, RefusedWriteRaisesAndKeepsWhatWasStored) {
    SaveConfig(Settings::Text.key(), std::string("kept"));
    // A configuration directory below a plain file cannot be created, even by root.
    const fs::path blocker = m_dir / "blocker";
    std::ofstream(blocker) << "x";
    setenv("XDG_CONFIG_HOME", (blocker / "sub").c_str(), 1);
    EXPECT_NE(
        refusal([] { SaveConfig(Settings::Text.key(), std::string("lost")); }).find("无法保存设置"),
        std::string::npos);
    setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    EXPECT_EQ(GetConfig(Settings::Text), "kept");
}

} // namespace
