// The settings window's buttons: confirming, defaults, closing and the transparency clamp.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"

#include <QMessageBox>
#include <QPushButton>

#include <cmath>
#include <map>

namespace S = FMain::Settings;
using FMain::Setting;

namespace {

class ConfirmTest : public WindowTest {
  protected:
    // Presses 确认 and returns the text of the message box it showed, if any.
    std::string confirm(设置& s) {
        std::string shown;
        AnswerIfModal answer([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) {
                w->close();
                return;
            }
            shown = box->text().toStdString();
            m_title = box->windowTitle().toStdString();
            m_icon = box->icon();
            box->accept();
        });
        s.Command1_Click();
        return shown;
    }
    std::map<std::string, std::optional<std::string>> appearanceStored() {
        std::map<std::string, std::optional<std::string>> out;
        for (const Setting* k :
             {&S::FontSize, &S::FontName, &S::FontColor, &S::BackColor, &S::BoxHeight, &S::Alpha})
            out[std::string(k->suffix)] = stored(*k);
        return out;
    }
    std::string m_title;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
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
    EXPECT_EQ(confirm(s), c.message);

    auto same = [](const std::optional<std::string>& got, const char* want) {
        return want ? got == std::optional<std::string>(want) : !got.has_value();
    };
    EXPECT_TRUE(same(stored(S::FontSize), c.sSize)) << stored(S::FontSize).value_or("-");
    EXPECT_TRUE(same(stored(S::FontName), c.sFace)) << stored(S::FontName).value_or("-");
    EXPECT_TRUE(same(stored(S::FontColor), c.sFore)) << stored(S::FontColor).value_or("-");
    EXPECT_TRUE(same(stored(S::BackColor), c.sBack)) << stored(S::BackColor).value_or("-");
    EXPECT_TRUE(same(stored(S::BoxHeight), c.sHeight)) << stored(S::BoxHeight).value_or("-");
    EXPECT_TRUE(same(stored(S::Alpha), c.sAlpha)) << stored(S::Alpha).value_or("-");

    // The prompt window shows exactly what was stored, or its start-up value.
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, c.sSize ? std::stod(c.sSize) : 14.5);
    EXPECT_EQ(f.Text1.Font().Name, c.sFace ? c.sFace : "微软雅黑");
    auto colour = [](const char* text) {
        return static_cast<int>(std::nearbyint(std::stod(text)));
    };
    EXPECT_EQ(f.Text1.ForeColor(), c.sFore ? colour(c.sFore) : 0xFFFFFF);
    EXPECT_EQ(f.Text1.BackColor(), c.sBack ? colour(c.sBack) : 0x404040);
    EXPECT_EQ(f.BackColor(), c.sBack ? colour(c.sBack) : 0x404040);
    EXPECT_FLOAT_EQ(f.Height(), c.sHeight ? std::stof(c.sHeight) : 705);
    EXPECT_NEAR(WidgetOf(f)->windowOpacity(), c.sAlpha ? std::stoi(c.sAlpha) / 255.0 : 1.0, 0.005);
    if (*c.message == 0) {
        EXPECT_FLOAT_EQ(f.Text1.Top(),
                        static_cast<float>(f.Height() / 2 - f.Text1.Font().Size / 14.5 * 247.5))
            << "CalcTop ran last";
    } else {
        EXPECT_FLOAT_EQ(f.Text1.Top(), topBefore) << "CalcTop did not run";
        EXPECT_EQ(m_title, "Kelm屏幕提示框");
        EXPECT_EQ(m_icon, QMessageBox::Information);
    }
    EXPECT_TRUE(s.Visible()) << "the window stays open";
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
        Confirm{"colour beyond 32 bits", "11", "黑体", "1e20", "255", "900", "100", "溢出", "11",
                "黑体", nullptr, nullptr, nullptr, nullptr},
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

TEST_F(ConfirmTest, DefaultsThenConfirmStoresTheSixDefaults) {
    seed(S::FontSize, "20");
    seed(S::Alpha, "100");
    toolkit::Instance<Form1>().Show();
    设置& s = toolkit::Instance<设置>();
    s.Command6_Click();
    EXPECT_EQ(confirm(s), "");
    EXPECT_EQ(stored(S::FontSize), "14.5");
    EXPECT_EQ(stored(S::FontName), "微软雅黑");
    EXPECT_EQ(stored(S::FontColor), "16777215");
    EXPECT_EQ(stored(S::BackColor), "4210752");
    EXPECT_EQ(stored(S::BoxHeight), "705");
    EXPECT_EQ(stored(S::Alpha), "255");
    Form1& f = toolkit::Instance<Form1>();
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 14.5);
    EXPECT_FLOAT_EQ(f.Text1.Top(), 105);
    EXPECT_DOUBLE_EQ(WidgetOf(f)->windowOpacity(), 1.0) << "255 makes a translucent window opaque";
}

TEST_F(ConfirmTest, DefaultsThenCloseChangesNothing) {
    seed(S::FontSize, "20");
    seed(S::FontColor, "255");
    Form1& f = toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    const auto before = appearanceStored();
    s.Command6_Click();
    EXPECT_EQ(s.FSize.Text(), "14.5");
    EXPECT_EQ(s.Trans.Text(), "255");
    s.Command4_Click();
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
    EXPECT_EQ(appearanceStored(), before);
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 20);
    EXPECT_EQ(f.Text1.ForeColor(), 255);
}

TEST_F(ConfirmTest, TwoConfirmsInARowAreIdempotent) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    设置& s = toolkit::Instance<设置>();
    s.FSize.setText("18");
    s.BColor.setText("65280 绿色");
    s.mHeight.setText("1106");
    EXPECT_EQ(confirm(s), "");
    const auto stored1 = appearanceStored();
    const float top = f.Text1.Top(), height = f.Height();
    EXPECT_EQ(confirm(s), "");
    EXPECT_EQ(appearanceStored(), stored1);
    EXPECT_FLOAT_EQ(f.Text1.Top(), top);
    EXPECT_FLOAT_EQ(f.Height(), height);
}

TEST_F(ConfirmTest, RefusedStoreWriteIsShownAndLosesNothing) {
    seed(S::FontSize, "20");
    toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    s.FSize.setText("12");
    breakStore();
    const std::string message = confirm(s);
    EXPECT_EQ(message.rfind("无法保存设置", 0), 0u) << message;
    EXPECT_FALSE(toolkit::Ending()) << "the confirm traps its errors";
    setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    EXPECT_EQ(stored(S::FontSize), "20");
}

TEST_F(ConfirmTest, ButtonsAreWiredToTheirHandlers) {
    toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    s.Show();
    const auto buttons = WidgetOf(s)->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 6);
    s.FSize.setText("30");
    buttons[5]->click(); // 默认值
    EXPECT_EQ(s.FSize.Text(), "14.5");
    buttons[0]->click(); // 确认
    EXPECT_EQ(stored(S::FontSize), "14.5");
    buttons[3]->click(); // 关闭
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
}

} // namespace
