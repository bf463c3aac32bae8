// The mouse on the prompt window: width drag, pointer shapes, double-click, context menu.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"
#include "toolkit/screen.h"

#include <functional>
#include <tuple>
#include <vector>

namespace S = FMain::Settings;

namespace {

using PointerTest = WindowTest;

// Presses (Down) and moves on the window surface: x in twips, buttons as the handlers get them.
struct Gesture {
    const char* name;
    std::vector<std::tuple<char, int16_t, float>> steps; // 'D'own or 'M'ove, button, x
    float width;
    int16_t pointer, flag;
};

class PointerGestureTest : public WindowTest, public ::testing::WithParamInterface<Gesture> {};

TEST_P(PointerGestureTest, WidthFollowsALeftDragFromTheRightEdge) {
    const Gesture& g = GetParam();
    Form1& f = toolkit::Instance<Form1>();
    for (const auto& [kind, button, x] : g.steps) {
        const float at = x < 0 ? toolkit::Screen::Width() - x : x;
        kind == 'D' ? f.Form_MouseDown(button, 0, at, 0) : f.Form_MouseMove(button, 0, at, 0);
    }
    EXPECT_FLOAT_EQ(f.Width(), g.width < 0 ? toolkit::Screen::Width() : g.width);
    EXPECT_FLOAT_EQ(f.Left(), 0) << "the left edge stays";
    EXPECT_FLOAT_EQ(f.Text1.Width(), f.Width() - 20);
    EXPECT_EQ(f.MousePointer(), g.pointer);
    EXPECT_EQ(f.ResizeFlag, g.flag);
}

// A negative x or width stands for that far beyond the screen's width, or for the screen's width.
INSTANTIATE_TEST_SUITE_P(
    Table, PointerGestureTest,
    ::testing::Values(
        Gesture{"edge starts 200 twips in", {{'D', 1, 2800}, {'M', 1, 4500}}, 4500, 9, 1},
        Gesture{"fraction", {{'D', 1, 2999}, {'M', 1, 5000.5f}}, 5000.5f, 9, 1},
        Gesture{"not below 3000", {{'D', 1, 2900}, {'M', 1, 1000}}, 3000, 9, 1},
        Gesture{"not beyond the screen", {{'D', 1, 2900}, {'M', 1, -500}}, -1, 9, 1},
        Gesture{"away from the edge shows the arrow", {{'D', 1, 2799}, {'M', 1, 5000}}, 3000, 1, 0},
        Gesture{"two buttons held", {{'D', 1, 2900}, {'M', 3, 5000}}, 3000, 9, 1},
        Gesture{"two-button press leaves the flag",
                {{'D', 1, 2900}, {'D', 3, 100}, {'M', 1, 4000}},
                4000,
                9,
                1},
        Gesture{"middle press leaves the flag",
                {{'D', 1, 100}, {'D', 4, 2900}, {'M', 1, 4000}},
                3000,
                1,
                0},
        Gesture{"flag outlives the release",
                {{'D', 1, 2900}, {'M', 1, 4000}, {'M', 0, 100}, {'M', 1, 5000}},
                5000,
                9,
                1}),
    RowName<Gesture>);

// Clearing the placeholder and bringing it back is done with real double-clicks below.
TEST_F(PointerTest, DoubleClickBringsBackTheLastClearedText) {
    const struct {
        const char* name;
        std::function<void(Form1&)> steps;
        const char *text, *tag;
    } rows[] = {
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
