// The settings file under the faults a user's disk can have, each made for real.
#include "services/config.h"
#include "toolkit/errors.h"
#include "toolkit/qt/qt_store.h"

#include <QLockFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace FMain;
using namespace std::string_literals;
using toolkit::qt::QtSettingsStore;

namespace {

const std::string kApp(kAppName), kGroup(kSection);
const std::string kOld = "[APPNAME]\nKelm-文本提示框_left=450\nKelm-文本提示框_top=300\n";

std::string textOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename());
    return names;
}

// What a new start of the program reads: nothing read before is remembered.
std::optional<std::string> readAnew(const Setting& setting) {
    return QtSettingsStore().read(kApp, kGroup, setting.key());
}

// The refusal a save of ENTRIES meets, "" when it lands.
std::string refusal(const toolkit::Store::Entries& entries) {
    try {
        QtSettingsStore().write(kApp, kGroup, entries);
    } catch (const toolkit::RuntimeError& e) {
        return e.Description();
    }
    return {};
}

// What the prompt window saves at exit, in one write.
std::string saveAtExit(const std::string& text) {
    return refusal({{Settings::Text.key(), text},
                    {Settings::Left.key(), "1500"},
                    {Settings::Top.key(), "600"}});
}

bool exitedWell(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char dir[] = "/tmp/kelm-faults-XXXXXX";
        m_dir = mkdtemp(dir);
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
        m_file = m_dir / "PUPNAME.conf";
    }
    void TearDown() override {
        if (m_mounted)
            umount2(m_dir.c_str(), MNT_DETACH);
        fs::remove_all(m_dir);
        fs::remove(m_dir.string() + ".img");
    }
    bool mountTmpfs(const char* options) {
        m_mounted = mount("kelm", m_dir.c_str(), "tmpfs", 0, options) == 0;
        return m_mounted;
    }
    fs::path m_dir, m_file;
    bool m_mounted = false;
};

TEST_F(StoreTest, FullDiskRefusesTheSaveOrTakesItWhole) {
    // Any file a save makes can be the one with no room; QSettings reports a cut write as success.
    if (!mountTmpfs("size=64k"))
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    const std::string text(8000, 'y');
    for (int freePages = 0; freePages <= 7; ++freePages) {
        SCOPED_TRACE(freePages);
        for (const auto& e : fs::directory_iterator(m_dir))
            fs::remove_all(e.path());
        std::ofstream(m_file) << kOld;
        {
            std::ofstream filler(m_dir / "filler");
            const std::string page(4096, 'x');
            while (filler.write(page.data(), page.size()) && filler.flush()) {
            }
        }
        fs::resize_file(m_dir / "filler", fs::file_size(m_dir / "filler") / 4096 * 4096 -
                                              std::uintmax_t(freePages) * 4096);
        if (!saveAtExit(text).empty()) {
            EXPECT_EQ(textOf(m_file), kOld) << "nothing of the batch was written";
        } else {
            EXPECT_EQ(readAnew(Settings::Text), text);
            EXPECT_EQ(readAnew(Settings::Left), "1500");
        }
        EXPECT_EQ(namesIn(m_dir), (std::set<std::string>{"PUPNAME.conf", "filler"}));
    }
}

// No room beside the linked file for the names of a save's copies: refused, not waited for.
TEST_F(StoreTest, NameWithNoRoomForTheCopiesRefusesTheSave) {
    const fs::path real = m_dir / (std::string(243, 'k') + ".conf"); // 248 of 255 bytes
    std::ofstream(real) << kOld;
    fs::create_symlink(real.filename(), m_file);
    EXPECT_EQ(readAnew(Settings::Left), "450");
    EXPECT_NE(saveAtExit("x"), "");
    EXPECT_EQ(textOf(real), kOld);
    EXPECT_EQ(namesIn(m_dir), (std::set<std::string>{"PUPNAME.conf", real.filename()}));
}

TEST_F(StoreTest, LinksLeadToTheRealFileAndStayLinks) {
    // No mask on the modes: a file the save creates is private by its own choice.
    const mode_t mask = ::umask(0);
    // The configuration folder; the real file, '+' when it exists; each link as WHERE>WHAT.
    const char* const layouts[] = {
        "cfg cfg/dotfiles/kelm.conf+ cfg/PUPNAME.conf>dotfiles/kelm.conf",
        "cfg cfg/real/kelm.conf+ cfg/PUPNAME.conf>mid.conf cfg/mid.conf>real/kelm.conf",
        ("home/.config data/dotfiles/kelm.conf+ home/.config>../data/conf "
         "data/conf/PUPNAME.conf>../dotfiles/kelm.conf"),
        "cfg cfg/real/kelm.conf cfg/PUPNAME.conf>mid.conf cfg/mid.conf>real/kelm.conf",
    };
    for (const char* layout : layouts) {
        SCOPED_TRACE(layout);
        const fs::path root = m_dir / "layout";
        fs::remove_all(root);
        std::istringstream in(layout);
        std::string configHome, realName, link;
        in >> configHome >> realName;
        const bool existing = realName.back() == '+';
        const fs::path real = root / realName.substr(0, realName.size() - existing);
        fs::create_directories(real.parent_path());
        if (existing) {
            std::ofstream(real) << kOld;
            fs::permissions(real,
                            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        }
        while (in >> link) {
            const fs::path where = root / link.substr(0, link.find('>'));
            fs::create_directories(where.parent_path());
            fs::create_symlink(link.substr(link.find('>') + 1), where);
        }
        setenv("XDG_CONFIG_HOME", (root / configHome).c_str(), 1);
        EXPECT_EQ(readAnew(Settings::Left), existing ? std::optional("450"s) : std::nullopt);
        EXPECT_EQ(saveAtExit("linked"), "");
        EXPECT_NE(textOf(real).find("linked"), std::string::npos);
        EXPECT_EQ(fs::status(real).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write |
                      (existing ? fs::perms::group_read : fs::perms::none));
        std::set<fs::path> files;
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (e.is_regular_file() && !e.is_symlink())
                files.insert(e.path());
        EXPECT_EQ(files, std::set<fs::path>{real}) << "links stay links, nothing beside the file";
        EXPECT_EQ(readAnew(Settings::Text), "linked");
    }
    ::umask(mask);
}

TEST_F(StoreTest, RelativeConfigHomeIsIgnored) {
    setenv("HOME", m_dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative", 1);
    saveAtExit("x");
    EXPECT_TRUE(fs::exists(m_dir / ".config" / "PUPNAME.conf"));
}

TEST_F(StoreTest, ReplacementOfTheSameSizeIsReadAnewOnACoarseClock) {
    // ext4 with small inodes keeps times to the second: QSettings takes the new file for the old.
    const std::string image = m_dir.string() + ".img";
    const std::string mount = "truncate -s 4M " + image + " && mkfs.ext4 -q -F -I 128 " + image +
                              " >/dev/null 2>&1 && mount -o loop " + image + " " + m_dir.string() +
                              " 2>/dev/null";
    if (std::system(mount.c_str()) != 0)
        GTEST_SKIP() << "cannot mount a loop file system here (needs root)";
    m_mounted = true;
    QtSettingsStore store;
    for (const char* text : {"aaaa", "bbbb", "cccc"}) {
        store.write(kApp, kGroup, {{Settings::Text.key(), text}});
        EXPECT_EQ(store.read(kApp, kGroup, Settings::Text.key()), text);
    }
}

TEST_F(StoreTest, FileDatedFarInTheFutureIsReplaced) {
    // tmpfs keeps any time it is given; a file of the same size replaces it.
    if (!mountTmpfs("size=1m"))
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root): " << std::strerror(errno);
    for (const time_t seconds :
         {std::numeric_limits<time_t>::max() / 1000 + 1, std::numeric_limits<time_t>::max()}) {
        SCOPED_TRACE(seconds);
        saveAtExit("same");
        const timespec times[2] = {{0, UTIME_OMIT}, {seconds, 999'999'999}};
        ASSERT_EQ(::utimensat(AT_FDCWD, m_file.c_str(), times, 0), 0);
        EXPECT_EQ(saveAtExit("same"), "");
        EXPECT_EQ(readAnew(Settings::Left), "1500");
    }
}

TEST_F(StoreTest, DebrisOfKilledSavesIsClearedAndOtherFilesKept) {
    // A lock QSettings left would hold the next save that writes through it for ever.
    for (const char* name :
         {"PUPNAME.conf.new", "PUPNAME.conf.new.lock", "PUPNAME.conf.new.3",
          "PUPNAME.conf.new.3.lock", "PUPNAME.conf.new.3.lock.rmlock", "PUPNAME.conf.new.3.a1B2c3",
          "PUPNAME.conf.new.backup", "PUPNAME.conf.newer"})
        std::ofstream(m_dir / name) << "x";
    saveAtExit("x");
    EXPECT_EQ(namesIn(m_dir), (std::set<std::string>{"PUPNAME.conf", "PUPNAME.conf.new.backup",
                                                     "PUPNAME.conf.newer"}));
}

TEST_F(StoreTest, CopiesEndingAtOnceSaveInTurn) {
    std::ofstream(m_file) << kOld;
    // At a logout: one copy holds the lock a while, eight others each save their text and place.
    // (A lock a killed copy left is taken over: faults_e2e.sh saves after killed saves.)
    QLockFile holder(QString::fromStdString(m_file.string() + ".lock"));
    ASSERT_TRUE(holder.tryLock(0));
    std::vector<pid_t> copies;
    for (int i = 0; i < 8; ++i) {
        copies.push_back(fork());
        if (copies.back() == 0)
            _exit(!refusal({{Settings::Text.key(), "copy " + std::to_string(i)},
                            {Settings::Left.key(), std::to_string(i)}})
                       .empty());
    }
    // Longer than copies used to wait for the lock.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    holder.unlock();
    for (const pid_t pid : copies)
        EXPECT_TRUE(exitedWell(pid));
    const std::string text = readAnew(Settings::Text).value_or("");
    ASSERT_EQ(text.rfind("copy ", 0), 0u) << text;
    EXPECT_EQ(readAnew(Settings::Left), text.substr(5)) << "text and place from the same copy";
    EXPECT_EQ(readAnew(Settings::Top), "300");
    EXPECT_EQ(namesIn(m_dir), std::set<std::string>{"PUPNAME.conf"});
}

TEST_F(StoreTest, RefusedWritesRaiseAndKeepWhatWasStored) {
    saveAtExit("kept");
    const std::string before = textOf(m_file);
    const auto refused = [] { return saveAtExit("lost").rfind("无法保存设置: ", 0) == 0; };
    // (A folder that cannot be made: the window tests' BreakStore.) A read-only bind mount:
    if (mount(m_dir.c_str(), m_dir.c_str(), nullptr, MS_BIND, nullptr) == 0) {
        m_mounted = true;
        mount(nullptr, m_dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
        EXPECT_TRUE(refused()) << "read-only bind mount";
        m_mounted = umount2(m_dir.c_str(), MNT_DETACH) != 0;
    }
    // A read-only file, tried by its owner: root would ignore the mode.
    if (getuid() == 0 && chown(m_dir.c_str(), 65534, 65534) == 0 &&
        chown(m_file.c_str(), 65534, 65534) == 0) {
        fs::permissions(m_file, fs::perms::owner_read);
        const pid_t pid = fork();
        if (pid == 0)
            _exit(setgid(65534) == 0 && setuid(65534) == 0 && refused() ? 0 : 1);
        EXPECT_TRUE(exitedWell(pid)) << "read-only file";
    }
    EXPECT_EQ(textOf(m_file), before);
    EXPECT_EQ(readAnew(Settings::Text), "kept");
}

} // namespace
