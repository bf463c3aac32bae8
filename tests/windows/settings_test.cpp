// The settings window: its lists, the values it shows, its life, and the context menu's items.
#include "fixture.h"

#include "about/about_window.h"
#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"

namespace S = FMain::Settings;

namespace {

using SettingsTest = WindowTest;

// What the lists hold is the window's design; the native lists must hold it too, unsorted.
TEST_F(SettingsTest, NativeListsHoldThePresetsInOrder) {
    设置& s = toolkit::Instance<设置>();
    for (toolkit::ComboBox* list :
         {&s.FSize, &s.FName, &s.FColor, &s.BColor, &s.mHeight, &s.Trans}) {
        std::vector<std::string> entries;
        for (int i = 0; i < list->ListCount(); ++i)
            entries.push_back(list->List(i));
        EXPECT_FALSE(entries.empty());
        EXPECT_EQ(driver::Native(*list).items, entries);
    }
}

TEST_F(SettingsTest, ShowsThePromptWindowsCurrentValues) {
    const struct {
        std::vector<std::pair<const FMain::Setting*, const char*>> stored;
        std::vector<std::string> shown; // size, face, text, background, height, transparency
    } rows[] = {
        {{{&S::FontSize, "10.5"},
          {&S::FontName, "黑体"},
          {&S::FontColor, "255"},
          {&S::BackColor, "65280"},
          {&S::BoxHeight, "1006"},
          {&S::Alpha, "200"}},
         {"10.5", "黑体", "255", "65280", "1006", "200"}},
        {{{&S::FontSize, "14.25"}, {&S::Alpha, "300"}},
         {"14.25", "微软雅黑", "16777215", "4210752", "705", "255"}},
        {{{&S::Alpha, "abc"}}, {"14.5", "微软雅黑", "16777215", "4210752", "705", "abc"}},
    };
    for (const auto& r : rows) {
        toolkit::DestroyAllForms();
        driver::ClearStore();
        for (const auto& [setting, text] : r.stored)
            seed(*setting, text);
        设置& s = toolkit::Instance<设置>();
        const std::vector<std::string> shown = {s.FSize.Text(),  s.FName.Text(),   s.FColor.Text(),
                                                s.BColor.Text(), s.mHeight.Text(), s.Trans.Text()};
        EXPECT_EQ(shown, r.shown);
        EXPECT_EQ(driver::Native(s.Trans).text, r.shown[5]) << "the native list agrees";
        for (const auto& [setting, text] : r.stored)
            EXPECT_EQ(stored(*setting), text) << "showing a value writes nothing back";
    }
}

TEST_F(SettingsTest, TypedTransparencyIsClampedAtOnce) {
    const struct {
        const char *typed, *shown;
    } rows[] = {{"300", "255"}, {"255.5", "255"}, {"255", "255"}, {"abc", "abc"}, {"99", "99"}};
    设置& s = toolkit::Instance<设置>();
    s.Show();
    for (const auto& r : rows) {
        driver::Type(s.Trans, r.typed);
        EXPECT_EQ(s.Trans.Text(), r.shown) << r.typed;
        const driver::ControlState native = driver::Native(s.Trans);
        EXPECT_EQ(native.text, r.shown) << r.typed;
        EXPECT_EQ(native.items.size(), 13u) << "typed text is never added to the list";
    }
}

TEST_F(SettingsTest, ClosingAndReopeningLoadsAFreshWindow) {
    toolkit::Instance<Form1>().Show();
    设置& first = toolkit::Instance<设置>();
    first.参数设置_Click();
    first.FSize.setText("99 unconfirmed");
    driver::Close(first);
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
    EXPECT_NE(toolkit::LoadedInstance<Form1>(), nullptr) << "only the settings window goes";
    EXPECT_FALSE(toolkit::Ending());
    设置& again = toolkit::Instance<设置>();
    EXPECT_EQ(again.FSize.ListCount(), 7);
    EXPECT_EQ(again.FSize.Text(), "14.5");
}

TEST_F(SettingsTest, MenuItemShowsTheWindowCentredWithoutReloading) {
    toolkit::Instance<Form1>().Show();
    设置& s = toolkit::Instance<设置>();
    s.参数设置_Click();
    const driver::WindowState w = driver::Native(s);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.clientWidth, Pixels(3765));
    EXPECT_EQ(w.clientHeight, Pixels(3075));
    const toolkit::Rect screen = toolkit::CurrentRealisation().screens().front();
    const double tpp = toolkit::CurrentRealisation().twipsPerPixel();
    // Centred, give or take the frame the window system adds.
    const double frame = (w.width - w.clientWidth) / 2.0 + 1;
    EXPECT_NEAR(w.x + w.width / 2.0, screen.width / tpp / 2, frame);
    EXPECT_NEAR(w.y + w.height / 2.0, screen.height / tpp / 2, frame + w.height - w.clientHeight);
    EXPECT_EQ(w.title, "参数设置");
    EXPECT_NE(w.inTaskbar, true) << "where the realisation can tell";
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
