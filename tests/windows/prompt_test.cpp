// The prompt window: start-up and restore, and a save refused at the end.
#include "fixture.h"

#include "prompt/form1.h"
#include "services/numbers.h"
#include "settings/settings_window.h"

#include <functional>
#include <vector>

using FMain::Setting;
namespace S = FMain::Settings;

namespace {

using PromptTest = WindowTest;

// A damaged entry keeps its default, nothing else changes and the start goes on; loading
// writes nothing back.
TEST_F(PromptTest, StartUpRestoresWhatWasStoredAndKeepsTheDefaultForWhatIsDamaged) {
    const struct {
        std::vector<std::pair<const Setting*, const char*>> stored;
        float height = 705, textTop = 105;
        double size = 14.5;
    } rows[] = {
        {{{&S::Height, "900"}, {&S::BoxHeight, "1200"}}, 1200, 352.5f},
        {{{&S::FontSize, "12abc"}}, 705, float(352.5 - 12 / 14.5 * 247.5), 12},
        {{{&S::Left, "9e9"}}},
        {{{&S::FontColor, "16777216"}}},
        {{{&S::FontSize, "5000"}}},
        {{{&S::BoxHeight, "1e30"}}},
        // Too small to see or grab: at least 10 pixels (94 twips are fewer up to 144 DPI).
        {{{&S::Width, "0"}}},
        {{{&S::Width, "94"}}},
        {{{&S::BoxHeight, "1"}}},
    };
    for (const auto& r : rows) {
        toolkit::DestroyAllForms();
        driver::ClearStore();
        SCOPED_TRACE(r.stored.front().second);
        for (const auto& [setting, text] : r.stored)
            seed(*setting, text);
        Form1& f = toolkit::Instance<Form1>();
        f.Show();
        EXPECT_EQ(std::vector<float>({f.Left(), f.Top(), f.Width(), f.Height(), f.Text1.Top()}),
                  std::vector<float>({0, 0, 3000, r.height, r.textTop}));
        EXPECT_EQ(driver::Native(f).clientHeight, Pixels(r.height));
        EXPECT_DOUBLE_EQ(f.Text1.Font().Size, r.size);
        EXPECT_EQ(f.Text1.Font().Name, "微软雅黑");
        EXPECT_EQ(f.Text1.Text(), "[文本内容]");
        EXPECT_EQ(std::vector<int32_t>({f.Text1.ForeColor(), f.Text1.BackColor(), f.BackColor()}),
                  std::vector<int32_t>({0xFFFFFF, 0x404040, 0x404040}));
        EXPECT_EQ(driver::Native(f).alpha, 255);
        EXPECT_FALSE(toolkit::Ending());
        for (const auto& [setting, text] : r.stored)
            EXPECT_EQ(stored(*setting), text);
    }
}

// 20 × 20 pixels of the text in a corner of the work area are within reach, in the system's pixels.
TEST_F(PromptTest, StartKeepsAPlaceWithinReachAtAnyDpi) {
    const toolkit::Rect work = toolkit::CurrentRealisation().screens().front().work;
    const float px = float(toolkit::CurrentRealisation().twipsPerPixel());
    // The text box begins 105 twips below the window's top and fills its width but 20 twips.
    const float left = work.left + work.width - 20 * px,
                top = work.top + work.height - 105 - 20 * px;
    seed(S::Left, FMain::NumberText(left));
    seed(S::Top, FMain::NumberText(top));
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    EXPECT_EQ(std::vector<float>({f.Left(), f.Top()}), std::vector({left, top}));
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
        EXPECT_EQ(message.text.rfind("无法保存设置", 0), fromOutside ? std::string::npos : 0);
        EXPECT_EQ(message.title, fromOutside ? "" : "Kelm屏幕提示框");
        EXPECT_EQ(toolkit::ExitStatus(), fromOutside ? 1 : 0);
        EXPECT_TRUE(toolkit::Ending());
        EXPECT_TRUE(toolkit::Forms().empty());
        driver::RepairStore();
        EXPECT_EQ(stored(S::Text), "以前的");
    }
}

// The program ends inside a nested loop: by 退出, or from outside (the close box, the session's
// end), which takes the window that opened the loop with it before the loop returns.
TEST_F(PromptTest, EndInsideANestedLoopSavesAndEnds) {
    enum Loop { Menu, Colour, Font, Box };
    enum End { Chosen, Closed, Logout }; // 退出; the close box; the session
    const struct {
        const char* name;
        Loop loop;
        End end;
    } rows[] = {
        {"menu: 退出", Menu, Chosen},
        {"menu: closed", Menu, Closed},
        {"menu: session ends", Menu, Logout},
        {"colour dialog: closed", Colour, Closed},
        {"font dialog: session ends", Font, Logout},
        {"message box: closed", Box, Closed},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        toolkit::ResetEnding();
        driver::Reset();
        Form1& f = toolkit::Instance<Form1>();
        f.Show();
        const std::string text = std::string("结束于") + r.name;
        f.Text1.setText(text);
        driver::Reply reply = driver::Cancel();
        reply.item = r.end == Chosen ? 2 : -1;
        // The loop goes on handling what is waiting before it notices the end.
        if (r.end != Chosen)
            reply.whileOpen = [&] {
                if (r.end == Logout)
                    return toolkit::SystemQuitRequested();
                driver::Close(f);
                driver::Pump();
            };
        driver::Answer(reply);
        if (r.loop == Menu)
            driver::Click(f.Text1, driver::Button::Right, 20, 10);
        else
            toolkit::Dispatch([&] {
                设置& s = toolkit::Instance<设置>();
                if (r.loop == Colour)
                    s.Command3_Click();
                else if (r.loop == Font)
                    s.Command2_Click();
                else {
                    s.FSize.setText("5000");
                    s.Command1_Click(); // a message box says why
                }
            });
        EXPECT_TRUE(toolkit::Ending());
        EXPECT_TRUE(toolkit::Forms().empty());
        EXPECT_EQ(stored(S::Text), text);
    }
}

} // namespace
