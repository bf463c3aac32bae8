// Qt's own dialogs under an English locale: they speak Chinese like the rest of the program.
#include "toolkit/realisation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

struct Row {
    const char* name;
    std::function<void()> open;
    QStringList buttons;
};

TEST(QtDialogsTest, ButtonsAreChineseWhateverTheLocale) {
    auto& r = toolkit::CurrentRealisation();
    toolkit::FontSeed seed;
    seed.font.Name = "Sans Serif";
    seed.points = 12;
    seed.minPoints = 8;
    seed.maxPoints = 72;
    const Row rows[] = {
        {"message box", [&] { r.messageBox("x", 64, "t"); }, {"确定"}},
        {"colour dialog", [&] { r.chooseColor(0); }, {"确定", "取消"}},
        {"font dialog", [&] { r.chooseFont(seed); }, {"确定", "取消"}},
    };
    for (const Row& row : rows) {
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                for (auto* b : dialog->findChildren<QAbstractButton*>())
                    if (b->isVisible())
                        seen << b->text().remove(QLatin1Char('&'));
                dialog->reject();
            }
        });
        row.open();
        for (const QString& b : row.buttons)
            EXPECT_TRUE(seen.contains(b)) << row.name << ": " << seen.join(", ").toStdString();
    }
}

// A face that is not installed opens the dialog on a stand-in; confirming that is no choice of
// the stand-in.
TEST(QtDialogsTest, ConfirmedStandInReturnsTheFaceAskedFor) {
    toolkit::FontSeed seed;
    seed.font.Name = "微软雅黑";
    seed.points = 14;
    seed.minPoints = 8;
    seed.maxPoints = 72;
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    const auto choice = toolkit::CurrentRealisation().chooseFont(seed);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->face, "微软雅黑");
    EXPECT_EQ(choice->points, 14);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LC_ALL", "en_US.UTF-8", 1);
    setenv("LANG", "en_US.UTF-8", 1);
    unsetenv("LANGUAGE");
    // The colour dialog keeps its custom colours in QtProject.conf: not in the home of whoever
    // runs the tests.
    char dir[] = "/tmp/kelm-desktop-XXXXXX";
    setenv("XDG_CONFIG_HOME", mkdtemp(dir), 1);
    ::testing::InitGoogleTest(&argc, argv);
    toolkit::InstallRealisation(toolkit::MakeRealisation(argc, argv));
    const int rc = RUN_ALL_TESTS();
    toolkit::RemoveRealisation();
    std::filesystem::remove_all(dir);
    return rc;
}
