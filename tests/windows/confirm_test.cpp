// The settings window's buttons: confirming, defaults and closing.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"

#include <cmath>
#include <map>

namespace S = FMain::Settings;
using FMain::Setting;

namespace {

class ConfirmTest : public WindowTest {
  protected:
    // Presses 确认 and returns the message box it showed, if any.
    static driver::Shown confirm(设置& s) {
        driver::Shown shown;
        driver::Answer(driver::Accept(), &shown);
        driver::Click(s.Command1);
        driver::Unanswered();
        return shown;
    }
    static std::map<std::string, std::optional<std::string>> appearanceStored() {
        std::map<std::string, std::optional<std::string>> out;
        for (const Setting* k :
             {&S::FontSize, &S::FontName, &S::FontColor, &S::BackColor, &S::BoxHeight, &S::Alpha})
            out[std::string(k->suffix)] = stored(*k);
        return out;
    }
};

struct Confirm {
    const char* name;
    const char *size, *face, *fore, *back, *height, *alpha;
    const char* message; // "" when none
    // What is stored afterwards; nullptr: nothing.
    const char *sSize, *sFace, *sFore, *sBack, *sHeight, *sAlpha;
};

class ConfirmTableTest : public ConfirmTest, public ::testing::WithParamInterface<Confirm> {};

TEST_P(ConfirmTableTest, AppliesAndSavesWhatPassesUntilAnError) {
    const Confirm& c = GetParam();
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    设置& s = toolkit::Instance<设置>();
    s.Show();
    s.FSize.setText(c.size);
    s.FName.setText(c.face);
    s.FColor.setText(c.fore);
    s.BColor.setText(c.back);
    s.mHeight.setText(c.height);
    s.Trans.setText(c.alpha);
    const float topBefore = f.Text1.Top();
    const driver::Shown shown = confirm(s);
    EXPECT_EQ(shown.text, c.message);

    auto text = [](const char* t) { return t ? std::optional<std::string>(t) : std::nullopt; };
    EXPECT_EQ(appearanceStored(), (std::map<std::string, std::optional<std::string>>{
                                      {std::string(S::FontSize.suffix), text(c.sSize)},
                                      {std::string(S::FontName.suffix), text(c.sFace)},
                                      {std::string(S::FontColor.suffix), text(c.sFore)},
                                      {std::string(S::BackColor.suffix), text(c.sBack)},
                                      {std::string(S::BoxHeight.suffix), text(c.sHeight)},
                                      {std::string(S::Alpha.suffix), text(c.sAlpha)}}));

    // The prompt window shows exactly what was stored, or its start-up value.
    auto colour = [](const char* t) { return static_cast<int>(std::nearbyint(std::stod(t))); };
    const driver::ControlState box = driver::Native(f.Text1);
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, c.sSize ? std::stod(c.sSize) : 14.5);
    EXPECT_EQ(f.Text1.Font().Name, c.sFace ? c.sFace : "微软雅黑");
    EXPECT_EQ(box.fore, c.sFore ? colour(c.sFore) : 0xFFFFFF);
    EXPECT_EQ(box.back, c.sBack ? colour(c.sBack) : 0x404040);
    EXPECT_EQ(f.BackColor(), c.sBack ? colour(c.sBack) : 0x404040);
    EXPECT_FLOAT_EQ(f.Height(), c.sHeight ? std::stof(c.sHeight) : 705);
    EXPECT_EQ(driver::Native(f).alpha, c.sAlpha ? colour(c.sAlpha) : 255);
    if (*c.message == 0) {
        EXPECT_FLOAT_EQ(f.Text1.Top(),
                        static_cast<float>(f.Height() / 2 - f.Text1.Font().Size / 14.5 * 247.5))
            << "CalcTop ran last";
    } else {
        EXPECT_FLOAT_EQ(f.Text1.Top(), topBefore) << "CalcTop did not run";
        EXPECT_EQ(shown.title, "Kelm屏幕提示框");
        EXPECT_TRUE(shown.information);
    }
    EXPECT_TRUE(driver::Native(s).visible) << "the window stays open";
    EXPECT_EQ(s.mHeight.Text(), c.height) << "texts are left as they are";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConfirmTableTest,
    ::testing::Values(
        Confirm{"all six", "16", "黑体", "255 红色", "4210752 黑色", "1006", "200", "", "16",
                "黑体", "255", "4210752", "1006", "200"},
        Confirm{"pure black text is skipped", "10.5", "宋体", "0", "65280", "900", "235", "",
                "10.5", "宋体", nullptr, "65280", "900", "235"},
        Confirm{"cancelled colour dialog is skipped", "14.5", "微软雅黑", "16777215", "-1", "705",
                "255", "", "14.5", "微软雅黑", "16777215", nullptr, "705", "255"},
        Confirm{"empty face is skipped", "12", "", "65280 绿色", "16711680 蓝色", "800", "abc", "",
                "12", nullptr, "65280", "16711680", "800", nullptr},
        Confirm{"height not wholly a number stops before transparency", "20", "楷体", "255",
                "65280", "800abc", "100", "类型不匹配", "20", "楷体", "255", "65280", nullptr,
                nullptr},
        Confirm{"colour above 0xFFFFFF", "11", "黑体", "16777216", "255", "900", "100",
                "无效的属性值", "11", "黑体", nullptr, nullptr, nullptr, nullptr},
        Confirm{"background beyond 32 bits", "11", "黑体", "255", "&H7FFFFFFF1", "900", "100",
                "溢出", "11", "黑体", "255", nullptr, nullptr, nullptr},
        Confirm{"font size the window cannot take", "5000", "黑体", "255", "255", "900", "100",
                "无效的属性值", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        Confirm{"height the window cannot take", "11", "黑体", "255", "65280", "1e30", "100",
                "无效的属性值", "11", "黑体", "255", "65280", nullptr, nullptr},
        Confirm{"height too small to see", "11", "黑体", "255", "65280", "1", "100", "无效的属性值",
                "11", "黑体", "255", "65280", nullptr, nullptr},
        Confirm{"fractions are saved as read", "10.25", "黑体", "255.4", "65280.6", "1000.5",
                "100.5", "", "10.25", "黑体", "255.4", "65280.6", "1000.5", "100.5"}),
    RowName<Confirm>);

// 默认值 fills in what an empty store gives; only 确认 makes it the prompt window's and stores it.
TEST_F(ConfirmTest, DefaultsThenCloseChangeNothingAndDefaultsThenConfirmStoreThem) {
    const Setting* appearance[] = {&S::FontSize,  &S::FontName,  &S::FontColor,
                                   &S::BackColor, &S::BoxHeight, &S::Alpha};
    seed(S::FontSize, "20");
    seed(S::Alpha, "100");
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    for (const bool close : {true, false}) {
        设置& s = toolkit::Instance<设置>();
        s.Show();
        s.FSize.setText("30");
        const auto before = appearanceStored();
        driver::Click(s.Command6); // 默认值
        EXPECT_EQ(s.FSize.Text(), "14.5");
        if (close) {
            driver::Click(s.Command4); // 关闭
            EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
            EXPECT_EQ(appearanceStored(), before);
            EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 20);
            continue;
        }
        EXPECT_EQ(confirm(s).kind, driver::Modal::None);
        for (const Setting* k : appearance)
            EXPECT_EQ(stored(*k), FMain::ValueText(k->fallback)) << k->suffix;
    }
    EXPECT_FLOAT_EQ(f.Text1.Top(), 105);
    EXPECT_EQ(driver::Native(f).alpha, 255) << "255 makes a translucent window opaque";
}

TEST_F(ConfirmTest, RefusedStoreWriteIsShownAndLosesNothing) {
    seed(S::FontSize, "20");
    toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    s.Show();
    s.FSize.setText("12");
    driver::BreakStore();
    const std::string message = confirm(s).text;
    EXPECT_EQ(message.rfind("无法保存设置", 0), 0u) << message;
    EXPECT_FALSE(toolkit::Ending()) << "the confirm traps its errors";
    driver::RepairStore();
    EXPECT_EQ(stored(S::FontSize), "20");
}

} // namespace
