// The settings window's colour and font dialogs, answered from the test.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"

namespace {

using SettingsWindowTest = WindowTest;

TEST_F(SettingsWindowTest, ColourDialogStartsBlackEveryTime) {
    toolkit::Instance<Form1>().Show();
    设置& s = toolkit::Instance<设置>();
    driver::Reply pick;
    pick.colour = 0xFF0000;
    driver::Answer(pick);
    s.Command5_Click();
    EXPECT_EQ(s.BColor.Text(), "16711680");
    driver::Shown dialog;
    driver::Answer(driver::Cancel(), &dialog);
    s.Command3_Click();
    EXPECT_EQ(dialog.kind, driver::Modal::Colour);
    EXPECT_EQ(dialog.colour, 0) << "not the colour picked before";
    EXPECT_EQ(s.FColor.Text(), "-1") << "cancelled";
}

// The font dialog opens on the prompt's font, rounded to even points; a size it refuses keeps it
// open.
TEST_F(SettingsWindowTest, FontDialogPutsTheChosenFaceAndSizeIntoTheLists) {
    Form1& f = toolkit::Instance<Form1>(); // 14.5 points
    设置& s = toolkit::Instance<设置>();
    const struct {
        double points; // 0: cancelled
        const char* size;
    } rows[] = {{0, "14.5"}, {72, "72"}, {8, "8"}, {100, "14.5"}, {7, "14.5"}};
    for (const auto& r : rows) {
        s.FSize.setText("14.5");
        driver::Reply pick = r.points ? driver::Accept() : driver::Cancel();
        pick.face = "WenQuanYi Micro Hei";
        pick.points = r.points;
        driver::Shown dialog, refusal, after;
        driver::Answer(pick, &dialog);
        const bool refused = r.points > 72 || (r.points && r.points < 8);
        if (refused) {
            driver::Answer(driver::Accept(), &refusal);
            driver::Answer(driver::Cancel(), &after);
        }
        s.Command2_Click();
        EXPECT_EQ(dialog.kind, driver::Modal::Font);
        EXPECT_EQ(refusal.kind, refused ? driver::Modal::Message : driver::Modal::None);
        EXPECT_EQ(after.kind, refused ? driver::Modal::Font : driver::Modal::None) << r.points;
        EXPECT_EQ(s.FSize.Text(), r.size) << r.points;
        if (r.points) {
            EXPECT_EQ(s.FName.Text(), "WenQuanYi Micro Hei");
            continue;
        }
        EXPECT_EQ(dialog.points, 14);
        EXPECT_EQ(s.FName.Text(), "微软雅黑");
        // Drawn by a stand-in from here on: choosing the installed Chinese face is a change.
        f.Text1.setFontName("没有这种字体");
    }
}

} // namespace
