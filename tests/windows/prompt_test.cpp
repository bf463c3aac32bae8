// The prompt window: start-up and restore, saving at unload and at the end of the session.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"
#include "toolkit/screen.h"

#include <functional>
#include <vector>

using FMain::Setting;
namespace S = FMain::Settings;

namespace {

using PromptTest = WindowTest;

TEST_F(PromptTest, FirstRunWithAnEmptyStore) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    const driver::WindowState w = driver::Native(f);
    EXPECT_EQ(std::vector<int>({w.x, w.y, w.width, w.height}),
              std::vector<int>({0, 0, Pixels(3000), Pixels(705)}));
    EXPECT_TRUE(w.topmost);
    EXPECT_TRUE(w.frameless);
    EXPECT_EQ(w.alpha, 255);
    EXPECT_EQ(w.title, "Kelm屏幕提示框");
    EXPECT_NE(w.inTaskbar, true) << "where the realisation can tell";
    const driver::ControlState box = driver::Native(f.Text1);
    EXPECT_EQ(box.text, "[文本内容]");
    EXPECT_EQ(box.toolTip, "双击可以清空内容.右边边可以调整文本宽度");
    EXPECT_EQ(box.fore, 0xFFFFFF);
    EXPECT_EQ(box.back, 0x404040);
    // Windows' Chinese face is drawn with a Simplified Chinese one where it is missing.
    EXPECT_TRUE(box.face == "微软雅黑" || box.face.find("CJK SC") != std::string::npos ||
                box.face.find("WenQuanYi") != std::string::npos ||
                box.face.find("Source Han Sans SC") != std::string::npos)
        << box.face;
}

struct Restore {
    const char* name;
    std::vector<std::pair<const Setting*, const char*>> stored;
    std::function<void(Form1&)> check;
};

class PromptRestoreTest : public WindowTest, public ::testing::WithParamInterface<Restore> {};

TEST_P(PromptRestoreTest, RestoresWhatWasStored) {
    for (const auto& [setting, text] : GetParam().stored)
        seed(*setting, text);
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    GetParam().check(f);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PromptRestoreTest,
    ::testing::Values(
        Restore{"geometry",
                {{&S::Left, "1500"}, {&S::Top, "300"}, {&S::Width, "5000"}},
                [](Form1& f) {
                    const driver::WindowState w = driver::Native(f);
                    EXPECT_EQ(
                        std::vector<int>({w.x, w.y, w.width, w.height}),
                        std::vector<int>({Pixels(1500), Pixels(300), Pixels(5000), Pixels(705)}));
                    EXPECT_FLOAT_EQ(f.Text1.Width(), 4980);
                }},
        Restore{"box height decides",
                {{&S::Height, "900"}, {&S::BoxHeight, "1200"}},
                [](Form1& f) {
                    EXPECT_EQ(driver::Native(f).clientHeight, Pixels(1200));
                    EXPECT_FLOAT_EQ(f.Text1.Top(), 352.5f);
                }},
        Restore{"empty text shows the placeholder",
                {{&S::Text, ""}},
                [](Form1& f) { EXPECT_EQ(driver::Native(f.Text1).text, "[文本内容]"); }},
        Restore{"text",
                {{&S::Text, "录屏中 Recording"}},
                [](Form1& f) { EXPECT_EQ(driver::Native(f.Text1).text, "录屏中 Recording"); }},
        Restore{"font size with letters",
                {{&S::FontSize, "12abc"}},
                [](Form1& f) {
                    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 12);
                    EXPECT_FLOAT_EQ(f.Text1.Top(), static_cast<float>(352.5 - 12 / 14.5 * 247.5));
                }},
        Restore{"colours",
                {{&S::FontColor, "255"}, {&S::BackColor, "&HFF0000"}},
                [](Form1& f) {
                    EXPECT_EQ(driver::Native(f.Text1).fore, 0x0000FF);
                    EXPECT_EQ(driver::Native(f.Text1).back, 0xFF0000);
                    EXPECT_EQ(f.BackColor(), 0xFF0000);
                }},
        Restore{"font name",
                {{&S::FontName, "黑体"}},
                [](Form1& f) { EXPECT_EQ(f.Text1.Font().Name, "黑体"); }},
        Restore{"alpha 200",
                {{&S::Alpha, "200"}},
                [](Form1& f) { EXPECT_EQ(driver::Native(f).alpha, 200); }},
        Restore{"alpha 0 is applied",
                {{&S::Alpha, "0"}},
                [](Form1& f) { EXPECT_EQ(driver::Native(f).alpha, 0); }}),
    RowName<Restore>);

struct Damaged {
    const Setting* setting;
    const char* text;
};

class PromptDamagedTest : public WindowTest, public ::testing::WithParamInterface<Damaged> {};

// A damaged entry keeps its default, nothing else changes and the start goes on.
TEST_P(PromptDamagedTest, KeepsTheDefault) {
    seed(*GetParam().setting, GetParam().text);
    Form1& f = toolkit::Instance<Form1>();
    EXPECT_EQ(std::vector<float>({f.Left(), f.Top(), f.Width(), f.Height()}),
              std::vector<float>({0, 0, 3000, 705}));
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 14.5);
    EXPECT_EQ(f.Text1.Font().Name, "微软雅黑");
    EXPECT_EQ(f.Text1.ForeColor(), 0xFFFFFF);
    EXPECT_EQ(f.Text1.BackColor(), 0x404040);
    EXPECT_EQ(f.BackColor(), 0x404040);
    EXPECT_EQ(driver::Native(f).alpha, 255);
    EXPECT_FALSE(toolkit::Ending());
    EXPECT_EQ(stored(*GetParam().setting), GetParam().text) << "the stored text is kept";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PromptDamagedTest,
    ::testing::Values(
        Damaged{&S::Left, "12abc"}, Damaged{&S::Left, "1e999"}, Damaged{&S::Left, "9e9"},
        Damaged{&S::Top, ""}, Damaged{&S::Width, "-5"}, Damaged{&S::Height, "-705"},
        Damaged{&S::Alpha, "300"}, Damaged{&S::Alpha, "abc"}, Damaged{&S::FontColor, "16777216"},
        Damaged{&S::FontColor, "1e20"}, Damaged{&S::BackColor, "&H1000000"},
        Damaged{&S::FontSize, "0"}, Damaged{&S::FontSize, "5000"}, Damaged{&S::FontName, ""},
        Damaged{&S::BoxHeight, "abc"}, Damaged{&S::BoxHeight, "1e30"},
        // Too small to see or grab: 10 pixels is the least the window takes (94 twips are
        // fewer up to 144 DPI).
        Damaged{&S::Width, "0"}, Damaged{&S::Width, "94"}, Damaged{&S::BoxHeight, "1"}));

TEST_F(PromptTest, WindowOffEveryScreenComesBackToThePrimaryOne) {
    const float screen = toolkit::Screen::Width();
    const struct {
        const char *left, *top;
        float x, y;
    } rows[] = {{"60000", "-30000", screen - 5000, 0}, {"11000", "-600", 11000, -600}};
    for (const auto& r : rows) {
        seed(S::Left, r.left);
        seed(S::Top, r.top);
        seed(S::Width, "5000");
        Form1& f = toolkit::Instance<Form1>();
        EXPECT_FLOAT_EQ(f.Left(), r.x) << r.left;
        EXPECT_FLOAT_EQ(f.Top(), r.y) << r.top;
        EXPECT_FLOAT_EQ(f.Width(), 5000);
        toolkit::DestroyAllForms();
    }
}

struct Saved {
    const char* name;
    std::function<void(Form1&)> change;
    const char *text, *left, *top, *width, *height;
};

class PromptSaveTest : public WindowTest, public ::testing::WithParamInterface<Saved> {};

TEST_P(PromptSaveTest, UnloadSavesTextAndGeometry) {
    const Saved& s = GetParam();
    Form1& f = toolkit::Instance<Form1>();
    s.change(f);
    toolkit::Unload(f);
    EXPECT_EQ(stored(S::Text), s.text);
    EXPECT_EQ(stored(S::Left), s.left);
    EXPECT_EQ(stored(S::Top), s.top);
    EXPECT_EQ(stored(S::Width), s.width);
    EXPECT_EQ(stored(S::Height), s.height);
    EXPECT_FALSE(stored(S::FontSize)) << "appearance is saved by the settings window only";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PromptSaveTest,
    ::testing::Values(Saved{"placeholder", [](Form1&) {}, "[文本内容]", "0", "0", "3000", "705"},
                      Saved{"cleared by double click", [](Form1& f) { f.Text1_DblClick(); }, "",
                            "0", "0", "3000", "705"},
                      Saved{"moved and widened",
                            [](Form1& f) {
                                f.Text1.setText("会议中");
                                f.setLeft(1500.25f);
                                f.setTop(300);
                                f.setWidth(5000);
                                f.setHeight(1006);
                            },
                            "会议中", "1500.25", "300", "5000", "1006"}),
    RowName<Saved>);

TEST_F(PromptTest, QuitRequestAndCloseBoxSaveAndEndTheProgram) {
    const std::function<void(Form1&)> ends[] = {[](Form1&) { toolkit::SystemQuitRequested(); },
                                                [](Form1& f) { driver::Close(f); }};
    for (const auto& end : ends) {
        driver::ClearStore();
        toolkit::ResetEnding();
        Form1& f = toolkit::Instance<Form1>();
        f.Show();
        f.setLeft(450);
        f.Text1.setText("下班前保存");
        end(f);
        EXPECT_EQ(stored(S::Text), "下班前保存");
        EXPECT_EQ(stored(S::Left), "450");
        EXPECT_TRUE(toolkit::Ending());
        EXPECT_TRUE(toolkit::Forms().empty());
    }
}

// A person who chose 退出 is told that the save failed; an end asked for from outside (a signal,
// the session) cannot wait for anyone: it says so on stderr and ends with a failure status.
TEST_F(PromptTest, RefusedWriteAtTheEndIsReportedAndEnds) {
    for (const bool fromOutside : {false, true}) {
        SCOPED_TRACE(fromOutside ? "from outside" : "退出");
        toolkit::ResetEnding();
        driver::RepairStore();
        seed(S::Text, "以前的");
        toolkit::Instance<Form1>().Text1.setText("新的");
        driver::BreakStore();
        driver::Shown message;
        driver::Answer(driver::Accept(), &message);
        if (fromOutside)
            toolkit::SystemQuitRequested();
        else
            toolkit::Dispatch([] { toolkit::Instance<设置>().退出_Click(); });
        EXPECT_EQ(driver::Unanswered(), fromOutside ? 1 : 0) << "a box only for a person";
        if (!fromOutside) {
            EXPECT_EQ(message.text.rfind("无法保存设置", 0), 0u) << message.text;
            EXPECT_EQ(message.title, "Kelm屏幕提示框");
        }
        EXPECT_EQ(toolkit::ExitStatus(), fromOutside ? 1 : 0);
        EXPECT_TRUE(toolkit::Ending());
        EXPECT_TRUE(toolkit::Forms().empty());
        driver::RepairStore();
        EXPECT_EQ(stored(S::Text), "以前的");
    }
}

} // namespace
