// The settings store as the windows see it, and the settings file under the faults a user's disk
// can have, each made for real.
#include "../fuzz/settings_meaning.h"
#include "services/config.h"
#include "toolkit/errors.h"
#include "toolkit/qt/qt_store.h"
#include "toolkit/realisation.h"

#include <QLockFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
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

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename());
    return names;
}

fs::perms modeOf(const fs::path& p) {
    return fs::status(p).permissions();
}

// Saves what the prompt window saves at exit, as one batch.
void saveAtExit(const std::string& text) {
    ConfigBatch batch;
    SaveConfig(Settings::Text.key(), text);
    SaveConfig(Settings::Left.key(), 1500.0f);
    SaveConfig(Settings::Top.key(), 600.0f);
    batch.Commit();
}

// What a file says but for the entries a save at exit writes.
QMap<QString, QString> othersIn(const std::string& bytes) {
    auto meaning = SettingsMeaning(QByteArray::fromStdString(bytes));
    for (const Setting* s : {&Settings::Text, &Settings::Left, &Settings::Top})
        meaning.remove(QString::fromStdString(std::string(kSection) + "/" + s->key()));
    return meaning;
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
    bool mountTmpfs(const char* options) {
        m_mounted = mount("kelm", m_dir.c_str(), "tmpfs", 0, options) == 0;
        return m_mounted;
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

TEST_F(StoreTest, FullDiskRefusesTheSaveOrTakesItWhole) {
    // Each file a save makes (its copy, QSettings' temporary file, the locks) can be the one the
    // disk has no room for. QSettings itself reports success for a write it cut short.
    if (!mountTmpfs("size=64k"))
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    const std::string text(8000, 'y');
    for (int freePages = 0; freePages <= 7; ++freePages) {
        SCOPED_TRACE(freePages);
        restart();
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
        const bool refused = !refusal([&] { saveAtExit(text); }).empty();
        restart();
        if (refused) {
            EXPECT_EQ(textOf(m_file), kOld);
            EXPECT_EQ(GetConfig(Settings::Left), "450") << "nothing of the batch was written";
        } else {
            EXPECT_EQ(GetConfig(Settings::Text), text);
            EXPECT_EQ(GetConfig(Settings::Left), "1500");
        }
        EXPECT_EQ(namesIn(m_dir), (std::set<std::string>{"PUPNAME.conf", "filler"}));
    }
}

TEST_F(StoreTest, DirectoryInPlaceOfTheFileReadsAsDefaultsAndRefusesTheSave) {
    fs::create_directory(m_file);
    EXPECT_EQ(GetConfig(Settings::Left), "0");
    EXPECT_NE(refusal([] { saveAtExit("x"); }), "");
    EXPECT_TRUE(fs::is_directory(m_file));
}

// A link to a file whose name leaves no room for the names of a save's copies beside it: the save
// is refused as one that cannot be made, not waited for.
TEST_F(StoreTest, NameWithNoRoomForTheCopiesRefusesTheSave) {
    const fs::path real = m_dir / (std::string(243, 'k') + ".conf"); // 248 of 255 bytes
    std::ofstream(real) << kOld;
    fs::create_symlink(real.filename(), m_file);
    EXPECT_EQ(GetConfig(Settings::Left), "450");
    EXPECT_NE(refusal([] { saveAtExit("x"); }), "");
    EXPECT_EQ(textOf(real), kOld);
    EXPECT_EQ(namesIn(m_dir), (std::set<std::string>{"PUPNAME.conf", real.filename()}));
}

TEST_F(StoreTest, OddFilesSayWhatTheySaidAndTakeTheSave) {
    // Files a hand or another program made that QSettings reads in its own way; each holds the
    // position 450/300 somewhere. After a save every other entry a lookup finds holds the text it
    // held, whatever QSettings makes of the rest when it writes the file anew.
    const struct {
        const char* what;
        std::string file;
    } files[] = {
        {"NaN double elsewhere",
         kOld + "[Other]\nd=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\n"},
        {"NaN point elsewhere",
         kOld + "[Other]\np=@Variant(\\0\\0\\0\\x1a\\x7f\\xf8\\0\\0\\0\\0\\0\\0?"
                "\\xf0\\0\\0\\0\\0\\0\\0)"
                "\n"},
        {"a key and its slashed twin", "/?=\n?=\n" + kOld},
        {"a key and its slashed twin, raw bytes", "/\x9e=\n\x9e=\n" + kOld},
        {"a key and its slashed twin, NUL bytes", "/\0\x1b=\n\0\x1b=\x01\0\0\n"s + kOld},
        {"a key written after its slashed twin", "\0=1\n/\0=2\n"s + kOld},
        {"a list holding a NUL", "k=a\\0b, c\n" + kOld},
        {"a section sorted between ours and its keys", kOld + "[APPNAME\\]\nx=1\n"},
        {"a header without its bracket",
         "[APPNAME\nKelm-文本提示框_left=450\n[APPNAME]\nKelm-文本提示框_top=300\n"},
        {"a quote open to the end", kOld + "Kelm-x=\"open\n"},
        {"byte order marks and a quote open to the end", "\xef\xbb\xbf\xef\xbb\xbf"
                                                         "a=1\n" +
                                                             kOld + "b=\"x"},
        {"a byte order mark, a blank and a quote open to the end",
         "\xef\xbb\xbf a=1\n" + kOld + "b=\"x"},
        {"a text made of an escaped byte order mark", kOld + "c=\\xfeff\nd=x\\t\\xfeffy, z\n"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        restart();
        std::ofstream(m_file, std::ios::binary) << f.file;
        EXPECT_EQ(GetConfig(Settings::Left), "450");
        EXPECT_EQ(refusal([] { saveAtExit("新的"); }), "");
        restart();
        EXPECT_EQ(GetConfig(Settings::Text), "新的");
        EXPECT_EQ(GetConfig(Settings::Left), "1500");
        EXPECT_EQ(GetConfig(Settings::Top), "600");
        EXPECT_EQ(othersIn(textOf(m_file)), othersIn(f.file));
    }
}

TEST_F(StoreTest, LinksLeadToTheRealFileAndStayLinks) {
    // Saved with no mask on the modes: a file the save creates is private by its own choice. An
    // existing file keeps its mode.
    const mode_t mask = ::umask(0);
    const struct {
        const char* what;
        fs::path configHome, real;
        bool existing;
        std::vector<std::pair<fs::path, fs::path>> links; // where, what it says
    } layouts[] = {
        {"a link into a dotfiles folder",
         "cfg",
         "cfg/dotfiles/kelm.conf",
         true,
         {{"cfg/PUPNAME.conf", "dotfiles/kelm.conf"}}},
        {"a chain of links",
         "cfg",
         "cfg/real/kelm.conf",
         true,
         {{"cfg/PUPNAME.conf", "mid.conf"}, {"cfg/mid.conf", "real/kelm.conf"}}},
        {"a linked folder and a link that goes up from it",
         "home/.config",
         "data/dotfiles/kelm.conf",
         true,
         {{"home/.config", "../data/conf"}, {"data/conf/PUPNAME.conf", "../dotfiles/kelm.conf"}}},
        {"a chain of links that leads nowhere yet",
         "cfg",
         "cfg/real/kelm.conf",
         false,
         {{"cfg/PUPNAME.conf", "mid.conf"}, {"cfg/mid.conf", "real/kelm.conf"}}},
        {"no file yet", "cfg", "cfg/PUPNAME.conf", false, {}},
    };
    for (const auto& l : layouts) {
        SCOPED_TRACE(l.what);
        restart();
        const fs::path root = m_dir / "layout";
        fs::remove_all(root);
        const fs::path real = root / l.real;
        fs::create_directories(real.parent_path());
        if (l.existing) {
            std::ofstream(real) << kOld;
            fs::permissions(real,
                            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        }
        for (const auto& [where, target] : l.links) {
            fs::create_directories((root / where).parent_path());
            fs::create_symlink(target, root / where);
        }
        setenv("XDG_CONFIG_HOME", (root / l.configHome).c_str(), 1);
        EXPECT_EQ(GetConfig(Settings::Left), l.existing ? "450" : "0");
        EXPECT_EQ(refusal([] { saveAtExit("linked"); }), "");
        for (const auto& link : l.links)
            EXPECT_TRUE(fs::is_symlink(root / link.first)) << link.first;
        EXPECT_NE(textOf(real).find("linked"), std::string::npos);
        EXPECT_EQ(modeOf(real), fs::perms::owner_read | fs::perms::owner_write |
                                    (l.existing ? fs::perms::group_read : fs::perms::none));
        std::set<fs::path> files;
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (e.is_regular_file() && !e.is_symlink())
                files.insert(e.path());
        EXPECT_EQ(files, std::set<fs::path>{real}) << "nothing written beside the real file";
        restart();
        EXPECT_EQ(GetConfig(Settings::Text), "linked");
    }
    ::umask(mask);
}

TEST_F(StoreTest, RelativeConfigHomeIsIgnored) {
    setenv("HOME", m_dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative", 1);
    saveAtExit("x");
    EXPECT_TRUE(fs::exists(m_dir / ".config" / "PUPNAME.conf"));
}

TEST_F(StoreTest, TextsComeBackAsTheyWereTyped) {
    // The empty text is kept as such, not taken for a missing entry.
    std::vector<std::string> texts = {
        // what the file gives a meaning to, at either end and inside
        "", "  spaced  ", "\ttabbed\t", "a,b", "a, b", ",", ";x", "x;y", "=", "a=b", "\"q\"", "\"",
        "\\", "end\\", "\\n", "@", "@Variant(0)", "@@x", "@Invalid()", "@String(x)", "line\nbreak",
        "\r\n", "\001\0371f", "\x7f", "[APPNAME]", "%U6587", "#x", "a/b",
        // other characters
        "你好, 世界", "😀", "\u2028",
        // a byte order mark where a run of text starts (it comes with pasted text)
        "\ufeff", "\ufeffhi", "\ufeff\ufeffhi", "\"\ufeff标题", "\t\ufeffx", "x\\\ufeff", "@\ufeff",
        "\ufeff, \ufeff"};
    texts.push_back("nul\0007"s);
    toolkit::qt::QtSettingsStore store;
    // First as new lines, then over those lines with the texts moved on by one.
    for (const size_t shift : {0, 1}) {
        toolkit::Store::Entries entries;
        for (size_t i = 0; i < texts.size(); ++i)
            entries.push_back({"k" + texts[i], texts[(i + shift) % texts.size()]});
        EXPECT_EQ(refusal([&] { store.write("PUPNAME", "APPNAME", entries); }), "");
        toolkit::qt::QtSettingsStore fresh;
        for (const auto& [key, text] : entries)
            EXPECT_EQ(fresh.read("PUPNAME", "APPNAME", key), text) << key;
    }
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
        EXPECT_EQ(refusal([] { saveAtExit("same"); }), "");
        restart();
        EXPECT_EQ(GetConfig(Settings::Left), "1500");
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
    const QString lockName = QString::fromStdString(m_file.string() + ".lock");
    // A copy killed while it held the lock: its lock is taken over.
    if (const pid_t dead = fork(); dead == 0) {
        QLockFile held(lockName);
        _exit(held.lock() ? 0 : 1);
    } else {
        waitpid(dead, nullptr, 0);
    }
    ASSERT_TRUE(fs::exists(lockName.toStdString()));
    EXPECT_EQ(refusal([] { SaveConfig(Settings::Width.key(), 4000.0f); }), "");

    // At a logout: a copy holds the lock a while, eight others end meanwhile, each saving its own
    // text and place.
    QLockFile holder(lockName);
    ASSERT_TRUE(holder.tryLock(0));
    std::vector<pid_t> copies;
    for (int i = 0; i < 8; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            toolkit::qt::QtSettingsStore store;
            try {
                store.write("PUPNAME", "APPNAME",
                            {{Settings::Text.key(), "copy " + std::to_string(i)},
                             {Settings::Left.key(), std::to_string(i)}});
            } catch (const toolkit::RuntimeError&) {
                _exit(1);
            }
            _exit(0);
        }
        copies.push_back(pid);
    }
    // Longer than copies used to wait for the lock.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    holder.unlock();
    int saved = 0;
    for (const pid_t pid : copies) {
        int status = 0;
        waitpid(pid, &status, 0);
        saved += WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    EXPECT_EQ(saved, 8);
    restart();
    const std::string text = GetConfig(Settings::Text);
    ASSERT_EQ(text.rfind("copy ", 0), 0u) << text;
    EXPECT_EQ(GetConfig(Settings::Left), text.substr(5)) << "text and place from the same copy";
    EXPECT_EQ(GetConfig(Settings::Top), "300");
    EXPECT_EQ(GetConfig(Settings::Width), "4000");
    EXPECT_EQ(namesIn(m_dir), std::set<std::string>{"PUPNAME.conf"});
}

TEST_F(StoreTest, RefusedWritesRaiseAndKeepWhatWasStored) {
    SaveConfig(Settings::Text.key(), std::string("kept"));
    const std::string before = textOf(m_file);
    const auto refused = [] {
        return refusal([] {
                   SaveConfig(Settings::Text.key(), std::string("lost"));
               }).rfind("无法保存设置: ", 0) == 0;
    };
    // A configuration folder below a plain file cannot be made, even by root.
    const fs::path blocker = m_dir / "blocker";
    std::ofstream(blocker) << "x";
    setenv("XDG_CONFIG_HOME", (blocker / "sub").c_str(), 1);
    EXPECT_TRUE(refused());
    setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    // A read-only bind mount.
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
        if (const pid_t pid = fork(); pid == 0) {
            _exit(setgid(65534) == 0 && setuid(65534) == 0 && refused() ? 0 : 1);
        } else {
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "read-only file";
        }
    }
    EXPECT_EQ(textOf(m_file), before);
    restart();
    EXPECT_EQ(GetConfig(Settings::Text), "kept");
}

} // namespace
