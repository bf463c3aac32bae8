// Qt's own dialogs under an English locale: they speak Chinese like the rest of the program.
// The fonts are the system's and one more: its Chinese face installed once more as SimHei, "黑体"
// in Chinese.
#include "prompt/form1.h"
#include "toolkit/qt/qt_controls.h"
#include "toolkit/qt/qt_convert.h"
#include "toolkit/realisation.h"
#include "toolkit/window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// The font dialog as the settings window opens it: on the font at 14 points, 8 to 72 allowed.
toolkit::FontSeed seedOf(const toolkit::Font& font) {
    toolkit::FontSeed seed;
    seed.font = font;
    seed.points = 14;
    seed.minPoints = 8;
    seed.maxPoints = 72;
    return seed;
}

// Hands the dialog that opens next to F, from inside its loop.
template <class Dialog> void whenOpen(std::function<void(Dialog*)> f) {
    QTimer::singleShot(0, [f] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            f(dialog);
    });
}

TEST(QtDialogsTest, ButtonsAreChineseWhateverTheLocale) {
    auto& r = toolkit::CurrentRealisation();
    const struct {
        const char* name;
        std::function<void()> open;
        QStringList buttons;
    } rows[] = {
        {"message box", [&] { r.messageBox("x", 64, "t"); }, {"确定"}},
        {"colour dialog", [&] { r.chooseColor(0); }, {"确定", "取消"}},
        {"font dialog", [&] { r.chooseFont(seedOf({"Sans Serif"})); }, {"确定", "取消"}},
    };
    for (const auto& row : rows) {
        QStringList seen;
        whenOpen<QDialog>([&seen](QDialog* dialog) {
            for (auto* b : dialog->findChildren<QAbstractButton*>())
                if (b->isVisible())
                    seen << b->text().remove(QLatin1Char('&'));
            dialog->reject();
        });
        row.open();
        for (const QString& b : row.buttons)
            EXPECT_TRUE(seen.contains(b)) << row.name << ": " << seen.join(", ").toStdString();
    }
}

// A face that is not installed opens the dialog on a stand-in; confirming that is no choice of
// the stand-in.
TEST(QtDialogsTest, ConfirmedStandInReturnsTheFaceAskedFor) {
    whenOpen<QFontDialog>([](QFontDialog* dialog) { dialog->accept(); });
    const auto choice = toolkit::CurrentRealisation().chooseFont(seedOf({"微软雅黑"}));
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->face, "微软雅黑");
    EXPECT_EQ(choice->points, 14);
}

using toolkit::qt::Q;
using toolkit::qt::S;

// The face drawn when Qt is given the name with a list of Chinese faces to substitute for it.
std::string substitutedFace(QFont font, const QString& face) {
    const QStringList sans = {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei",
                              "WenQuanYi Zen Hei", "Droid Sans Fallback"};
    const QStringList serif = {"Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN",
                               "WenQuanYi Micro Hei"};
    const QStringList kai = {"AR PL UKai CN", "Noto Serif CJK SC", "WenQuanYi Micro Hei"};
    QFont::insertSubstitutions(face, face == "宋体" ? serif : face == "楷体" ? kai : sans);
    font.setFamily(face);
    const QString drawn = QFontInfo(font).family();
    QFont::removeSubstitutions(face);
    return S(drawn);
}

// The program reads back the name it set; Qt is asked for that face where it is installed, by any
// of its names, and else for a face it has; the text and the font dialog show the face drawn when
// Qt was left to substitute the name.
TEST(QtFontsTest, ListedFacesAreDrawnAsBefore) {
    Form1& f = toolkit::Instance<Form1>();
    const struct {
        const char* face;
        bool installed;
    } rows[] = {{"宋体", false},     {"楷体", false},     {"黑体", true},
                {"微软雅黑", false}, {"华文彩云", false}, {"WenQuanYi Micro Hei", true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.face);
        f.Text1.setFontName(r.face);
        EXPECT_EQ(f.Text1.Font().Name, r.face);
        const QFont asked = toolkit::qt::QtControlPeer::find(&f.Text1)->widget()->font();
        if (r.installed)
            EXPECT_EQ(S(asked.family()), r.face);
        else
            EXPECT_TRUE(QFontDatabase::families().contains(asked.family()))
                << "asked for " << S(asked.family());
        const std::string drawn = S(QFontInfo(asked).family());
        EXPECT_EQ(drawn, substitutedFace(asked, Q(r.face)));
        std::string opened;
        whenOpen<QFontDialog>([&opened](QFontDialog* dialog) {
            opened = S(dialog->currentFont().family());
            dialog->reject();
        });
        toolkit::CurrentRealisation().chooseFont(seedOf(f.Text1.Font()));
        EXPECT_EQ(opened, drawn);
    }
    toolkit::DestroyAllForms();
    toolkit::FreeUnloadedForms();
}

// SimHei is the system's WenQuanYi Micro Hei under other names, in a font cache of its own.
void installSimHei(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "fonts");
    std::filesystem::create_symlink("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                                    dir / "fonts/simhei.ttc");
    std::string conf = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <cachedir>@/cache</cachedir>
  <dir>@/fonts</dir>
  <match target="scan">
    <test name="file"><string>@/fonts/simhei.ttc</string></test>
    <edit name="family" mode="assign_replace"><string>SimHei</string><string>黑体</string></edit>
    <edit name="familylang" mode="assign_replace"><string>en</string><string>zh-cn</string></edit>
  </match>
  <include>/etc/fonts/fonts.conf</include>
</fontconfig>
)";
    for (size_t at; (at = conf.find('@')) != std::string::npos;)
        conf.replace(at, 1, dir.string());
    std::ofstream(dir / "fonts.conf") << conf;
    setenv("FONTCONFIG_FILE", (dir / "fonts.conf").c_str(), 1);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LC_ALL", "en_US.UTF-8", 1);
    unsetenv("LANGUAGE");
    // The colour dialog's QtProject.conf goes here, not into the home of whoever runs the tests.
    char dir[] = "/tmp/kelm-desktop-XXXXXX";
    setenv("XDG_CONFIG_HOME", mkdtemp(dir), 1);
    installSimHei(std::filesystem::path(dir) / "simhei");
    ::testing::InitGoogleTest(&argc, argv);
    toolkit::InstallRealisation(toolkit::MakeRealisation(argc, argv));
    const int rc = RUN_ALL_TESTS();
    toolkit::RemoveRealisation();
    std::filesystem::remove_all(dir);
    return rc;
}
