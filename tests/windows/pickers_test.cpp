// The colour and font dialogs, answered from the test.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"

#include <cstdio>

namespace {

using PickersTest = WindowTest;

TEST_F(PickersTest, ColourDialogStartsBlackEveryTimeAndIsOwnedByThePrompt) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    设置& s = toolkit::Instance<设置>();
    for (int round = 0; round < 2; ++round) {
        driver::Shown dialog;
        driver::Reply cancel = driver::Cancel();
        cancel.custom = 0x0000FF; // a custom colour the user defines before cancelling
        driver::Answer(cancel, &dialog);
        s.Command3_Click();
        EXPECT_EQ(dialog.kind, driver::Modal::Colour);
        EXPECT_TRUE(dialog.customBlack) << "round " << round;
        EXPECT_EQ(dialog.owner, f.hWnd());
        EXPECT_EQ(dialog.colour, 0) << "no colour preselected";
        EXPECT_EQ(s.FColor.Text(), "-1") << "cancelled";
    }
}

TEST_F(PickersTest, ChosenColoursGoIntoTheirLists) {
    toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    const struct {
        int32_t colour;
        const char* text;
        bool background;
    } rows[] = {{0, "0", false}, {0xFF0000, "16711680", true}};
    for (const auto& r : rows) {
        driver::Reply pick;
        pick.colour = r.colour;
        driver::Answer(pick);
        r.background ? s.Command5_Click() : s.Command3_Click();
        EXPECT_EQ((r.background ? s.BColor : s.FColor).Text(), r.text);
    }
}

TEST_F(PickersTest, FontDialogOpensOnTheCurrentFontRoundedToEvenPoints) {
    toolkit::Instance<Form1>(); // 14.5 points
    设置& s = toolkit::Instance<设置>();
    driver::Shown dialog;
    driver::Answer(driver::Cancel(), &dialog);
    s.FName.setText("unchanged");
    s.Command2_Click();
    EXPECT_EQ(dialog.kind, driver::Modal::Font);
    EXPECT_EQ(dialog.owner, 0u) << "the font dialog has no owner";
    EXPECT_EQ(dialog.points, 14);
    EXPECT_TRUE(driver::FaceInstalled(dialog.face)) << "a face that is installed: " << dialog.face;
    EXPECT_EQ(s.FName.Text(), "unchanged") << "cancel changes nothing";
    EXPECT_EQ(s.FSize.Text(), "14.5");
}

TEST_F(PickersTest, ChosenFaceAndPointSizeGoIntoTheListsWithinTheLimits) {
    // A face drawn by a stand-in: choosing the Chinese face is a change, not the face kept.
    toolkit::Instance<Form1>().Text1.setFontName("没有这种字体");
    设置& s = toolkit::Instance<设置>();
    const std::string face = driver::ChineseFace();
    const struct {
        double points;
        const char* size; // nullptr: refused, the dialog stays open
    } rows[] = {{9, "9"}, {72, "72"}, {8, "8"}, {100, nullptr}, {7, nullptr}};
    for (const auto& r : rows) {
        s.FSize.setText("14.5");
        driver::Reply pick;
        pick.face = face;
        pick.points = r.points;
        driver::Answer(pick);
        driver::Shown refusal, after;
        if (!r.size) {
            driver::Answer(driver::Accept(), &refusal);
            driver::Answer(driver::Cancel(), &after);
        }
        s.Command2_Click();
        if (r.size) {
            EXPECT_EQ(s.FName.Text(), face);
            EXPECT_EQ(s.FSize.Text(), r.size);
        } else {
            EXPECT_EQ(refusal.kind, driver::Modal::Message) << r.points;
            EXPECT_EQ(after.kind, driver::Modal::Font) << "still open at " << r.points;
            EXPECT_EQ(s.FSize.Text(), "14.5") << r.points;
        }
    }
}

} // namespace
