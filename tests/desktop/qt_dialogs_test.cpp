// Qt's own dialogs under an English locale: they speak Chinese like the rest of the program.
#include "toolkit/realisation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontDialog>
#include <QListView>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>

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

// Opens the font dialog seeded with `face`, lets `answer` act on it, and returns the choice.
std::optional<toolkit::FontChoice> PickFont(const char* face,
                                            const std::function<void(QFontDialog*)>& answer) {
    toolkit::FontSeed seed;
    seed.font.Name = face;
    seed.points = 14;
    seed.minPoints = 8;
    seed.maxPoints = 72;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer(dialog);
        dialog->accept();
    });
    return toolkit::CurrentRealisation().chooseFont(seed);
}

// A face that is not installed opens the dialog on a stand-in; confirming that is no choice of
// the stand-in. Choosing another face is proved by the window tests.
TEST(QtDialogsTest, ConfirmedStandInReturnsTheFaceAskedFor) {
    const auto choice = PickFont("微软雅黑", [](QFontDialog*) {});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->face, "微软雅黑");
    EXPECT_EQ(choice->points, 14);
}

TEST(QtDialogsTest, FontDialogOffersSizesFrom8To72) {
    QList<int> offered;
    PickFont("DejaVu Sans", [&](QFontDialog* d) {
        for (auto* view : d->findChildren<QListView*>()) {
            QList<int> sizes;
            bool numbers = true;
            for (int row = 0; row < view->model()->rowCount() && numbers; ++row)
                if (!view->isRowHidden(row))
                    sizes << view->model()->index(row, 0).data().toInt(&numbers);
            if (numbers && !sizes.isEmpty())
                offered = sizes;
        }
    });
    ASSERT_FALSE(offered.isEmpty());
    EXPECT_EQ(offered.first(), 8);
    EXPECT_EQ(offered.last(), 72);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LC_ALL", "en_US.UTF-8", 1);
    setenv("LANG", "en_US.UTF-8", 1);
    unsetenv("LANGUAGE");
    ::testing::InitGoogleTest(&argc, argv);
    toolkit::InstallRealisation(toolkit::MakeRealisation(argc, argv));
    const int rc = RUN_ALL_TESTS();
    toolkit::RemoveRealisation();
    return rc;
}
