// The settings window's 确认: what passes is applied and saved in order until an error stops it.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"

#include <cmath>
#include <sstream>

namespace S = FMain::Settings;

namespace {

const FMain::Setting* const kAppearance[] = {&S::FontSize,  &S::FontName,  &S::FontColor,
                                             &S::BackColor, &S::BoxHeight, &S::Alpha};

// Size, face, text colour, background, height and alpha, each ended by '|'.
std::vector<std::string> six(const char* fields) {
    std::vector<std::string> out;
    std::istringstream in(fields);
    for (std::string field; std::getline(in, field, '|');)
        out.push_back(field);
    return out;
}

struct Confirm {
    const char* typed;
    const char* message; // "" when none
    const char* saved;   // "-": nothing is stored
};

class ConfirmTest : public WindowTest, public ::testing::WithParamInterface<Confirm> {};

TEST_P(ConfirmTest, AppliesAndSavesWhatPassesUntilAnError) {
    const Confirm& c = GetParam();
    SCOPED_TRACE(c.typed);
    const std::vector<std::string> typed = six(c.typed), saved = six(c.saved);
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    设置& s = toolkit::Instance<设置>();
    s.Show();
    toolkit::ComboBox* lists[] = {&s.FSize, &s.FName, &s.FColor, &s.BColor, &s.mHeight, &s.Trans};
    for (int i = 0; i < 6; ++i)
        lists[i]->setText(typed[i]);
    const float topBefore = f.Text1.Top();
    driver::Shown shown;
    driver::Answer(driver::Accept(), &shown);
    driver::Click(s.Command1);
    driver::Unanswered();
    const bool stopped = *c.message != 0;
    EXPECT_EQ(shown.text, c.message);
    EXPECT_EQ(shown.title, stopped ? "Kelm屏幕提示框" : "");

    // The prompt window shows exactly what was stored, or its start-up value.
    std::vector<std::string> now = six("14.5|微软雅黑|16777215|4210752|705|255|");
    for (int i = 0; i < 6; ++i) {
        const bool kept = saved[i] != "-";
        EXPECT_EQ(stored(*kAppearance[i]), kept ? std::optional(saved[i]) : std::nullopt)
            << kAppearance[i]->suffix;
        if (kept)
            now[i] = saved[i];
    }
    const auto colour = [&](int i) { return int32_t(std::nearbyint(std::stod(now[i]))); };
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, std::stod(now[0]));
    EXPECT_EQ(f.Text1.Font().Name, now[1]);
    EXPECT_EQ(f.Text1.ForeColor(), colour(2));
    EXPECT_EQ(std::vector({f.Text1.BackColor(), f.BackColor()}), std::vector(2, colour(3)));
    EXPECT_FLOAT_EQ(f.Height(), std::stof(now[4]));
    EXPECT_EQ(driver::Native(f).alpha, colour(5));
    EXPECT_FLOAT_EQ(f.Text1.Top(),
                    stopped ? topBefore : float(f.Height() / 2 - std::stod(now[0]) / 14.5 * 247.5))
        << "the text box is placed last";
    EXPECT_TRUE(driver::Native(s).visible) << "the window stays open";
    EXPECT_EQ(s.mHeight.Text(), typed[4]) << "texts are left as they are";
}

// What is typed, the message shown and what is stored; an alpha that rounds to 0 would leave a
// window nobody can see or click again: it is skipped as 0 is.
const Confirm kRows[] = {
    {"16|黑体|255 红色|4210752 黑色|1006|200|", "", "16|黑体|255|4210752|1006|200|"},
    {"10.5|宋体|0|65280|900|235|", "", "10.5|宋体|-|65280|900|235|"}, // pure black skipped
    {"12||16777215|-1|800|abc|", "", "12|-|16777215|-|800|-|"},       // cancelled colour, no face
    {"20|楷体|255|65280|800abc|100|", "类型不匹配", "20|楷体|255|65280|-|-|"},
    {"11|黑体|16777216|255|900|100|", "无效的属性值", "11|黑体|-|-|-|-|"},
    {"11|黑体|255|&H7FFFFFFF1|900|100|", "溢出", "11|黑体|255|-|-|-|"},
    {"5000|黑体|255|255|900|100|", "无效的属性值", "-|-|-|-|-|-|"},
    {"11|黑体|255|65280|1|100|", "无效的属性值", "11|黑体|255|65280|-|-|"},
    {"11|黑体|255|255|900|0.5|", "", "11|黑体|255|255|900|-|"},
    {"11|黑体|255|255|900|0.6|", "", "11|黑体|255|255|900|0.6|"},
    {"11|黑体|255|255|900|254.5|", "", "11|黑体|255|255|900|254.5|"},
};
INSTANTIATE_TEST_SUITE_P(Table, ConfirmTest, ::testing::ValuesIn(kRows));

using ConfirmStoreTest = WindowTest;

TEST_F(ConfirmStoreTest, RefusedWriteIsShownAndLosesNothing) {
    seed(S::FontSize, "20");
    toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    s.Show();
    s.FSize.setText("12");
    driver::BreakStore();
    driver::Shown shown;
    driver::Answer(driver::Accept(), &shown);
    driver::Click(s.Command1);
    EXPECT_EQ(shown.text.rfind("无法保存设置", 0), 0u) << shown.text;
    EXPECT_FALSE(toolkit::Ending()) << "the confirm traps its errors";
    driver::RepairStore();
    EXPECT_EQ(stored(S::FontSize), "20");
}

} // namespace
