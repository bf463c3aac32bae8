// The mouse on the prompt window: width drag, pointer shapes, double-click, context menu.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"
#include "toolkit/screen.h"

#include <functional>

namespace S = FMain::Settings;

namespace {

using PointerTest = WindowTest;

TEST_F(PointerTest, WidthDragStartsWithin200TwipsOfTheRightEdge) {
    const struct {
        int16_t button;
        float x;
        int16_t flag; // -1: left as it was
    } rows[] = {{1, 2800, 1}, {1, 2799, 0}, {1, 2999, 1}, {1, 0, 0}, {4, 2900, -1}, {3, 2900, -1}};
    Form1& f = toolkit::Instance<Form1>();
    for (const auto& r : rows) {
        f.ResizeFlag = 7;
        f.Form_MouseDown(r.button, 0, r.x, 0);
        EXPECT_EQ(f.ResizeFlag, r.flag < 0 ? 7 : r.flag) << r.button << " at " << r.x;
    }
}

TEST_F(PointerTest, WidthFollowsThePointerBetween3000AndTheScreen) {
    const float screen = toolkit::Screen::Width();
    const struct {
        float x, width;
    } rows[] = {
        {4500, 4500}, {1000, 3000}, {3000, 3000}, {screen + 500, screen}, {5000.5f, 5000.5f}};
    for (const auto& r : rows) {
        Form1& f = toolkit::Instance<Form1>();
        f.Form_MouseDown(1, 0, f.Width() - 100, 0);
        f.Form_MouseMove(1, 0, r.x, 0);
        EXPECT_FLOAT_EQ(f.Width(), r.width) << r.x;
        EXPECT_FLOAT_EQ(f.Left(), 0) << "the left edge stays";
        EXPECT_FLOAT_EQ(f.Text1.Width(), r.width - 20);
        EXPECT_EQ(f.MousePointer(), 9);
    }
}

TEST_F(PointerTest, OtherMovesOnlySetThePointer) {
    Form1& f = toolkit::Instance<Form1>();
    f.Form_MouseDown(1, 0, 2900, 0);
    f.Form_MouseMove(3, 0, 5000, 0); // left and right held together
    f.Form_MouseMove(0, 0, 5000, 0);
    EXPECT_FLOAT_EQ(f.Width(), 3000);
    EXPECT_EQ(f.MousePointer(), 9);
    f.Form_MouseDown(1, 0, 2799, 0);
    f.Form_MouseMove(1, 0, 5000, 0);
    EXPECT_FLOAT_EQ(f.Width(), 3000);
    EXPECT_EQ(f.MousePointer(), 1) << "a left drag away from the edge shows the arrow";
}

TEST_F(PointerTest, FlagKeepsItsValueAfterTheButtonIsReleased) {
    Form1& f = toolkit::Instance<Form1>();
    f.Form_MouseDown(1, 0, 2900, 0);
    f.Form_MouseMove(1, 0, 4000, 0);
    f.Form_MouseMove(0, 0, 100, 0); // released, then moved back
    EXPECT_EQ(f.ResizeFlag, 1);
    EXPECT_FLOAT_EQ(f.Width(), 4000);
    f.Form_MouseMove(1, 0, 5000, 0); // held again without a new press on the surface
    EXPECT_FLOAT_EQ(f.Width(), 5000);
}

TEST_F(PointerTest, DoubleClickClearsAndRestores) {
    const struct {
        const char* name;
        std::function<void(Form1&)> steps;
        const char *text, *tag;
    } rows[] = {
        {"clears the placeholder", [](Form1& f) { f.Text1_DblClick(); }, "", "[文本内容]"},
        {"restores it", [](Form1& f) { f.Text1_DblClick(), f.Text1_DblClick(); }, "[文本内容]",
         "[文本内容]"},
        {"empty box before any clear stays empty",
         [](Form1& f) { f.Text1.setText(""), f.Text1_DblClick(); }, "", ""},
        {"typed empty, then double-click brings the last cleared text",
         [](Form1& f) {
             f.Text1.setText("第一"), f.Text1_DblClick(), f.Text1.setText("第二");
             f.Text1.setText(""), f.Text1_DblClick();
         },
         "第一", "第一"},
    };
    for (const auto& r : rows) {
        Form1& f = toolkit::Instance<Form1>();
        r.steps(f);
        EXPECT_EQ(f.Text1.Text(), r.text) << r.name;
        EXPECT_EQ(f.Text1.Tag, r.tag) << r.name;
        toolkit::DestroyAllForms();
    }
}

TEST_F(PointerTest, RealDoubleClickReachesTheTextBox) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    driver::Click(f.Text1, driver::Button::Left, 20, 10);
    driver::DoubleClick(f.Text1, 20, 10);
    EXPECT_EQ(f.Text1.Text(), "");
    EXPECT_EQ(driver::Native(f.Text1).text, "");
    driver::DoubleClick(f.Text1, 20, 10);
    EXPECT_EQ(driver::Native(f.Text1).text, "[文本内容]");
}

TEST_F(PointerTest, RightClickLoadsTheSettingsWindowHiddenOnceAndDisablesTheBox) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
    driver::Shown menu;
    bool enabledWhileOpen = true;
    driver::Reply close = driver::Cancel();
    close.whileOpen = [&] { enabledWhileOpen = driver::Native(f.Text1).enabled; };
    driver::Answer(close, &menu);
    driver::Click(f.Text1, driver::Button::Right, 20, 10);
    EXPECT_EQ(menu.items, std::vector<std::string>({"参数设置", "关于作者", "退出"}));
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(driver::Native(f.Text1).enabled);
    设置* settings = toolkit::LoadedInstance<设置>();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(driver::Native(*settings).visible);

    driver::Answer(driver::Cancel(), &menu);
    driver::Click(f, driver::Button::Right, 199, 2); // the surface opens the same menu
    EXPECT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), settings) << "not loaded again";
}

TEST_F(PointerTest, ExitFromTheMenuSavesAndEnds) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    f.setWidth(5000);
    f.Text1.setText("退出前");
    driver::Answer(driver::Item(2));
    driver::Click(f.Text1, driver::Button::Right, 20, 10);
    EXPECT_TRUE(toolkit::Ending());
    EXPECT_TRUE(toolkit::Forms().empty());
    EXPECT_EQ(stored(S::Text), "退出前");
    EXPECT_EQ(stored(S::Width), "5000");
}

} // namespace
