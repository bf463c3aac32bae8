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

// Where it is placed, whether it is on top and translucent, the window system tells (e2e).
TEST_F(PromptTest, FirstRunWithAnEmptyStore) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    const driver::WindowState w = driver::Native(f);
    EXPECT_EQ(std::vector<int>({w.width, w.height}), std::vector<int>({Pixels(3000), Pixels(705)}));
    EXPECT_TRUE(w.frameless);
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

// What the prompt window shows after start-up: the defaults unless a row says otherwise.
struct Look {
    float left = 0, top = 0, width = 3000, height = 705, textTop = 105;
    double size = 14.5;
    std::string face = "微软雅黑", text = "[文本内容]";
    int32_t fore = 0xFFFFFF, back = 0x404040;
    int alpha = 255;
};

void expectLook(Form1& f, const Look& l) {
    const driver::ControlState box = driver::Native(f.Text1);
    EXPECT_EQ(std::vector<float>({f.Left(), f.Top(), f.Width(), f.Height()}),
              std::vector<float>({l.left, l.top, l.width, l.height}));
    EXPECT_EQ(driver::Native(f).clientHeight, Pixels(l.height));
    EXPECT_FLOAT_EQ(f.Text1.Top(), l.textTop);
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, l.size);
    EXPECT_EQ(f.Text1.Font().Name, l.face);
    EXPECT_EQ(box.text, l.text);
    EXPECT_EQ(std::vector<int32_t>({box.fore, box.back, f.BackColor()}),
              std::vector<int32_t>({l.fore, l.back, l.back}));
    EXPECT_EQ(driver::Native(f).alpha, l.alpha);
}

// A damaged entry keeps its default, nothing else changes and the start goes on; loading
// writes nothing back.
TEST_F(PromptTest, StartUpRestoresWhatWasStoredAndKeepsTheDefaultForWhatIsDamaged) {
    const struct {
        std::vector<std::pair<const Setting*, const char*>> stored;
        Look look = {};
    } rows[] = {
        {{{&S::Height, "900"}, {&S::BoxHeight, "1200"}}, {.height = 1200, .textTop = 352.5f}},
        {{{&S::Text, ""}}},
        {{{&S::Text, "录屏中 Recording"}}, {.text = "录屏中 Recording"}},
        {{{&S::FontSize, "12abc"}},
         {.textTop = static_cast<float>(352.5 - 12 / 14.5 * 247.5), .size = 12}},
        {{{&S::FontColor, "255"}, {&S::BackColor, "&HFF0000"}},
         {.fore = 0x0000FF, .back = 0xFF0000}},
        {{{&S::FontName, "黑体"}}, {.face = "黑体"}},
        {{{&S::Alpha, "0"}}, {.alpha = 0}},
        {{{&S::Left, "12abc"}}},
        {{{&S::Left, "1e999"}}},
        {{{&S::Left, "9e9"}}},
        {{{&S::Top, ""}}},
        {{{&S::Width, "-5"}}},
        {{{&S::Height, "-705"}}},
        {{{&S::Alpha, "300"}}},
        {{{&S::Alpha, "abc"}}},
        {{{&S::FontColor, "16777216"}}},
        {{{&S::FontColor, "1e20"}}},
        {{{&S::BackColor, "&H1000000"}}},
        {{{&S::FontSize, "0"}}},
        {{{&S::FontSize, "5000"}}},
        {{{&S::FontName, ""}}},
        {{{&S::BoxHeight, "abc"}}},
        {{{&S::BoxHeight, "1e30"}}},
        // Too small to see or grab: 10 pixels is the least the window takes (94 twips are
        // fewer up to 144 DPI).
        {{{&S::Width, "0"}}},
        {{{&S::Width, "94"}}},
        {{{&S::BoxHeight, "1"}}},
    };
    for (const auto& r : rows) {
        toolkit::DestroyAllForms();
        driver::ClearStore();
        std::string trace;
        for (const auto& [setting, text] : r.stored) {
            seed(*setting, text);
            trace += std::string(setting->suffix) + "=" + text + " ";
        }
        SCOPED_TRACE(trace);
        Form1& f = toolkit::Instance<Form1>();
        f.Show();
        expectLook(f, r.look);
        EXPECT_FALSE(toolkit::Ending());
        for (const auto& [setting, text] : r.stored)
            EXPECT_EQ(stored(*setting), text);
    }
}

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

struct Ending {
    const char* name;
    std::function<void(Form1&)> change, end;
    bool ends; // the program, not only the window
    const char *text, *left, *top, *width, *height;
};

class PromptEndTest : public WindowTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(PromptEndTest, SavesTextAndGeometry) {
    const Ending& e = GetParam();
    Form1& f = toolkit::Instance<Form1>();
    e.change(f);
    e.end(f);
    EXPECT_EQ(std::vector({stored(S::Text), stored(S::Left), stored(S::Top), stored(S::Width),
                           stored(S::Height)}),
              std::vector<std::optional<std::string>>({e.text, e.left, e.top, e.width, e.height}));
    EXPECT_FALSE(stored(S::FontSize)) << "appearance is saved by the settings window only";
    EXPECT_TRUE(toolkit::Forms().empty());
    EXPECT_EQ(toolkit::Ending(), e.ends);
}

const auto unload = [](Form1& f) { toolkit::Unload(f); };
const auto moved = [](Form1& f) {
    f.Show();
    f.Text1.setText("会议中");
    f.setLeft(1500.25f);
    f.setTop(300);
    f.setWidth(5000);
    f.setHeight(1006);
};

INSTANTIATE_TEST_SUITE_P(
    Table, PromptEndTest,
    ::testing::Values(Ending{"placeholder", [](Form1&) {}, unload, false, "[文本内容]", "0", "0",
                             "3000", "705"},
                      Ending{"cleared by double click", [](Form1& f) { f.Text1_DblClick(); },
                             unload, false, "", "0", "0", "3000", "705"},
                      Ending{"moved and widened", moved, unload, false, "会议中", "1500.25", "300",
                             "5000", "1006"},
                      Ending{"quit request", moved, [](Form1&) { toolkit::SystemQuitRequested(); },
                             true, "会议中", "1500.25", "300", "5000", "1006"},
                      Ending{"close box", moved, [](Form1& f) { driver::Close(f); }, true, "会议中",
                             "1500.25", "300", "5000", "1006"}),
    RowName<Ending>);

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
