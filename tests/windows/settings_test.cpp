// The settings window: its lists, the values it shows, its life, and the context menu's items.
#include "fixture.h"

#include "about/about_window.h"
#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace S = FMain::Settings;

namespace {

using SettingsTest = WindowTest;

std::vector<std::string> entries(const toolkit::ComboBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i)
        out.push_back(list.List(i));
    return out;
}

QComboBox* comboAt(toolkit::Window& w, int index) {
    return WidgetOf(w)->findChildren<QComboBox*>().at(index);
}

TEST_F(SettingsTest, ListsHoldTheirPresetsOnceInOrder) {
    设置& s = toolkit::Instance<设置>();
    const std::vector<std::string> colours = {"255 红色", "4210752 黑色", "65280 绿色",
                                              "16777215 白色", "16711680 蓝色"};
    std::vector<std::string> heights, alphas;
    for (int h = 406; h <= 2306; h += 100)
        heights.push_back(std::to_string(h));
    for (int a = 255; a >= 15; a -= 20)
        alphas.push_back(std::to_string(a));
    const struct {
        const toolkit::ComboBox& list;
        std::vector<std::string> expected;
    } rows[] = {
        {s.FSize, {"10", "11", "12", "14", "16", "18", "20"}},
        {s.FName, {"宋体", "楷体", "黑体", "微软雅黑", "华文彩云"}},
        {s.FColor, colours},
        {s.BColor, colours},
        {s.mHeight, heights},
        {s.Trans, alphas},
    };
    for (const auto& r : rows)
        EXPECT_EQ(entries(r.list), r.expected);
    EXPECT_EQ(heights.size(), 20u);
    EXPECT_EQ(alphas.size(), 13u);
    // The native lists hold the same entries, unsorted.
    QComboBox* sizes = comboAt(s, 0);
    ASSERT_EQ(sizes->count(), 7);
    EXPECT_EQ(sizes->itemText(0), "10");
    EXPECT_EQ(sizes->itemText(6), "20");
}

TEST_F(SettingsTest, ShowsThePromptWindowsCurrentValues) {
    const struct {
        std::vector<std::pair<const FMain::Setting*, const char*>> stored;
        const char *size, *name, *fore, *back, *height, *trans;
    } rows[] = {
        {{}, "14.5", "微软雅黑", "16777215", "4210752", "705", "255"},
        {{{&S::FontSize, "10.5"},
          {&S::FontName, "黑体"},
          {&S::FontColor, "255"},
          {&S::BackColor, "65280"},
          {&S::BoxHeight, "1006"},
          {&S::Alpha, "200"}},
         "10.5",
         "黑体",
         "255",
         "65280",
         "1006",
         "200"},
        {{{&S::FontSize, "14.25"}, {&S::Alpha, "300"}},
         "14.25",
         "微软雅黑",
         "16777215",
         "4210752",
         "705",
         "255"},
        {{{&S::Alpha, "abc"}}, "14.5", "微软雅黑", "16777215", "4210752", "705", "abc"},
    };
    for (const auto& r : rows) {
        toolkit::DestroyAllForms();
        std::filesystem::remove(m_dir / "PUPNAME.conf");
        for (const auto& [setting, text] : r.stored)
            seed(*setting, text);
        设置& s = toolkit::Instance<设置>();
        EXPECT_EQ(s.FSize.Text(), r.size);
        EXPECT_EQ(s.FName.Text(), r.name);
        EXPECT_EQ(s.FColor.Text(), r.fore);
        EXPECT_EQ(s.BColor.Text(), r.back);
        EXPECT_EQ(s.mHeight.Text(), r.height);
        EXPECT_EQ(s.Trans.Text(), r.trans);
        EXPECT_EQ(comboAt(s, 5)->currentText().toStdString(), r.trans) << "the native list agrees";
    }
}

TEST_F(SettingsTest, ClampedTransparencyIsNotWrittenBack) {
    seed(S::Alpha, "300");
    设置& s = toolkit::Instance<设置>();
    EXPECT_EQ(s.Trans.Text(), "255");
    EXPECT_EQ(stored(S::Alpha), "300");
}

TEST_F(SettingsTest, TypedTransparencyIsClampedAtOnce) {
    const struct {
        const char *typed, *shown;
    } rows[] = {{"300", "255"}, {"255.5", "255"}, {"255", "255"}, {"abc", "abc"}, {"99", "99"}};
    设置& s = toolkit::Instance<设置>();
    s.Show();
    QComboBox* trans = comboAt(s, 5);
    for (const auto& r : rows) {
        trans->lineEdit()->clear();
        QTest::keyClicks(trans->lineEdit(), r.typed);
        EXPECT_EQ(s.Trans.Text(), r.shown) << r.typed;
        EXPECT_EQ(trans->currentText().toStdString(), r.shown) << r.typed;
        EXPECT_EQ(trans->count(), 13) << "typed text is never added to the list";
    }
}

TEST_F(SettingsTest, ClosingAndReopeningLoadsAFreshWindow) {
    设置& first = toolkit::Instance<设置>();
    first.FSize.setText("99 unconfirmed");
    toolkit::Unload(first);
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
    设置& again = toolkit::Instance<设置>();
    EXPECT_EQ(again.FSize.ListCount(), 7);
    EXPECT_EQ(again.Trans.ListCount(), 13);
    EXPECT_EQ(again.FSize.Text(), "14.5");
}

TEST_F(SettingsTest, CloseBoxUnloadsOnlyTheSettingsWindow) {
    toolkit::Instance<Form1>().Show();
    设置& s = toolkit::Instance<设置>();
    s.参数设置_Click();
    WidgetOf(s)->close();
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
    EXPECT_NE(toolkit::LoadedInstance<Form1>(), nullptr);
    EXPECT_FALSE(toolkit::Ending());
}

TEST_F(SettingsTest, MenuItemShowsTheWindowCentredWithoutReloading) {
    toolkit::Instance<Form1>().Show();
    设置& s = toolkit::Instance<设置>();
    s.参数设置_Click();
    QWidget* w = WidgetOf(s);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->size(), QSize(251, 205)) << "3765 x 3075 twips";
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(w->x(), (screen.width() - 251) / 2.0, 1) << "centred on the screen";
    EXPECT_NEAR(w->y(), (screen.height() - 205) / 2.0, 1) << "centred on the screen";
    EXPECT_EQ(w->windowTitle(), "参数设置");
    s.FName.setText("楷体 unconfirmed");
    s.参数设置_Click();
    EXPECT_EQ(s.FName.Text(), "楷体 unconfirmed");
    EXPECT_EQ(s.FSize.ListCount(), 7);
}

TEST_F(SettingsTest, ExitUnloadsEveryWindowAndSavesOnlyThePrompt) {
    Form1& f = toolkit::Instance<Form1>();
    f.setLeft(1500);
    设置& s = toolkit::Instance<设置>();
    toolkit::Instance<关于>();
    s.FSize.setText("20");
    toolkit::Dispatch([&] { s.退出_Click(); });
    EXPECT_TRUE(toolkit::Ending());
    EXPECT_TRUE(toolkit::Forms().empty());
    EXPECT_EQ(stored(S::Left), "1500");
    EXPECT_FALSE(stored(S::FontSize)) << "unconfirmed edits are lost";
}

} // namespace
