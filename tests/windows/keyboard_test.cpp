// Without a mouse and through a screen reader: what assistive tools are told of each window and
// control, the context menu from the keyboard, Escape, and where the keyboard focus goes.
#include "fixture.h"

#include "about/about_window.h"
#include "prompt/form1.h"
#include "settings/settings_window.h"

#include <functional>
#include <iterator>

namespace {

using driver::Role;
using KeyboardTest = WindowTest;

TEST_F(KeyboardTest, EveryWindowAndControlSaysWhatItIs) {
    Form1& f = toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    关于& a = toolkit::Instance<关于>();
    using driver::Describe;
    // Name, role and naming label ("-": whatever the system finds); every list with a label of its
    // own, one of each other kind, and the buttons whose name is not their caption.
    const struct {
        const char* what;
        driver::Accessible seen, expected;
    } rows[] = {
        {"prompt", Describe(f), {"Kelm屏幕提示框", Role::Window, ""}},
        {"Text1", Describe(f.Text1), {"提示文本", Role::Text, ""}},
        {"settings", Describe(s), {"参数设置", Role::Dialog, ""}},
        {"Label1", Describe(s.Label1), {"字体大小", Role::Label, ""}},
        {"FSize", Describe(s.FSize), {"字体大小", Role::List, "字体大小"}},
        {"FName", Describe(s.FName), {"字体名称", Role::List, "字体名称"}},
        {"FColor", Describe(s.FColor), {"字体颜色", Role::List, "字体颜色"}},
        {"BColor", Describe(s.BColor), {"背景颜色", Role::List, "背景颜色"}},
        {"mHeight", Describe(s.mHeight), {"文本框高度", Role::List, "文本框高度"}},
        {"Trans", Describe(s.Trans), {"透明度", Role::List, "透明度"}},
        {"Command1", Describe(s.Command1), {"确认", Role::Button, ""}},
        {"Command2", Describe(s.Command2), {"获取字体", Role::Button, ""}},
        {"Command3", Describe(s.Command3), {"选择字体颜色", Role::Button, ""}},
        {"Command5", Describe(s.Command5), {"选择背景颜色", Role::Button, ""}},
        {"about", Describe(a), {"关于作者", Role::Window, ""}},
        {"Label7", Describe(a.Label7), {"查看最新版本--Kelm屏幕提示框 20190218", Role::Link, "-"}},
        {"ts", Describe(a.ts), {"更新日志", Role::Text, "-"}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.seen.name, r.expected.name) << r.what;
        EXPECT_EQ(r.seen.role, r.expected.role) << r.what;
        EXPECT_EQ(r.expected.label == "-" ? "-" : r.seen.label, r.expected.label) << r.what;
    }
    EXPECT_EQ(s.Command3.Caption(), "…") << "the name is not the caption";

    // Labels go before the controls they name, for Windows' sake; Tab keeps the designed order.
    s.Show();
    driver::Pump();
    toolkit::Control* const order[] = {
        &s.FSize,    &s.FName,    &s.FColor,   &s.BColor,  &s.Command1, &s.Command2, &s.Command3,
        &s.Command4, &s.Command5, &s.Command6, &s.mHeight, &s.Trans,    &s.FSize};
    EXPECT_TRUE(driver::Focused(s.FSize)) << "the window opens with the first list focused";
    for (size_t i = 1; i < std::size(order); ++i) {
        driver::Press(driver::Key::Tab);
        EXPECT_TRUE(driver::Focused(*order[i])) << "Tab number " << i;
    }
}

// The right button, the Menu key and Shift+F10 alike: the box disabled while the menu is open,
// the settings window loaded hidden, once; the item chosen shows it; the box keeps the focus.
TEST_F(KeyboardTest, TheKeysOpenTheContextMenuAsTheRightButtonDoes) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    driver::Pump();
    const struct {
        const char* how;
        std::function<void()> open;
    } ways[] = {
        {"right button", [&] { driver::Click(f.Text1, driver::Button::Right, 20, 10); }},
        {"Menu key", [] { driver::Press(driver::Key::Menu); }},
        {"Shift+F10", [] { driver::Press(driver::Key::ShiftF10); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        driver::Click(f.Text1);
        ASSERT_TRUE(driver::Focused(f.Text1));
        driver::Shown menu;
        std::optional<bool> enabled, hiddenSettings;
        driver::Reply close = driver::Cancel();
        close.whileOpen = [&] {
            enabled = driver::Enabled(f.Text1);
            设置* s = toolkit::LoadedInstance<设置>();
            hiddenSettings = s && !driver::Native(*s).visible;
        };
        driver::Answer(close, &menu);
        way.open();
        EXPECT_EQ(menu.kind, driver::Modal::Menu);
        EXPECT_EQ(enabled, std::optional(false));
        EXPECT_EQ(hiddenSettings, std::optional(true));
        EXPECT_TRUE(driver::Enabled(f.Text1));
        driver::Pump();
        EXPECT_TRUE(driver::Focused(f.Text1)) << "typing goes on into the box";

        设置* loaded = toolkit::LoadedInstance<设置>();
        driver::Reply settings;
        settings.item = 0; // 参数设置
        driver::Answer(settings);
        way.open();
        driver::Pump();
        ASSERT_EQ(toolkit::LoadedInstance<设置>(), loaded) << "not loaded again";
        EXPECT_TRUE(driver::Native(*loaded).visible);
        toolkit::Unload(*loaded);
        driver::Pump();
    }
}

// However the settings or About window closes, typing goes on into the prompt; unless another
// program had the keyboard, which keeps it.
TEST_F(KeyboardTest, ClosingGivesTheFocusBackToThePromptOnlyIfItHadIt) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    driver::Pump();
    driver::Click(f.Text1);
    // The window manager's close box works on a window without the focus too, which stays put.
    const struct {
        const char* how;
        bool about, elsewhere;
        std::function<void(toolkit::Window&)> close;
    } ways[] = {
        {"关闭", 0, 0, [](toolkit::Window& w) { driver::Click(static_cast<设置&>(w).Command4); }},
        {"close box", 0, 0, [](toolkit::Window& w) { driver::Close(w); }},
        {"Escape", 0, 0, [](toolkit::Window&) { driver::Press(driver::Key::Escape); }},
        {"About's close box", 1, 0, [](toolkit::Window& w) { driver::Close(w); }},
        {"Escape in About", 1, 0, [](toolkit::Window&) { driver::Press(driver::Key::Escape); }},
        {"close box, another program focused", 0, 1,
         [](toolkit::Window& w) { driver::FocusElsewhere(), driver::Close(w); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        toolkit::Window& w = way.about ? static_cast<toolkit::Window&>(toolkit::Instance<关于>())
                                       : toolkit::Instance<设置>();
        w.Show();
        driver::Pump();
        ASSERT_TRUE(driver::Native(w).active);
        way.close(w);
        driver::Pump();
        EXPECT_EQ(toolkit::Forms(), std::vector<toolkit::Window*>{&f}) << "it unloads";
        EXPECT_EQ(driver::Focused(f.Text1), !way.elsewhere);
        EXPECT_EQ(driver::Native(f).active, !way.elsewhere);
    }
    // In the prompt, Escape is a key like any other.
    driver::Click(f.Text1);
    driver::Press(driver::Key::Escape);
    driver::Pump();
    EXPECT_EQ(toolkit::LoadedInstance<Form1>(), &f);
    EXPECT_FALSE(toolkit::Ending());
}

} // namespace
