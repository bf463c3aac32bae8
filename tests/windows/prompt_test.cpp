// The prompt window: start-up and restore, layout, saving at unload.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/errors.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>

using FMain::Setting;
namespace S = FMain::Settings;

namespace {

using PromptTest = WindowTest;

TEST_F(PromptTest, FirstRunWithAnEmptyStore) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    EXPECT_EQ(f.Text1.Text(), "[文本内容]");
    EXPECT_FLOAT_EQ(f.Left(), 0);
    EXPECT_FLOAT_EQ(f.Top(), 0);
    EXPECT_FLOAT_EQ(f.Width(), 3000);
    EXPECT_FLOAT_EQ(f.Height(), 705);
    EXPECT_EQ(f.Text1.Font().Name, "微软雅黑");
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 14.5);
    EXPECT_TRUE(f.Text1.Font().Bold);
    EXPECT_EQ(f.Text1.ForeColor(), 0xFFFFFF);
    EXPECT_EQ(f.Text1.BackColor(), 0x404040);
    EXPECT_EQ(f.BackColor(), 0x404040);
    EXPECT_FLOAT_EQ(f.Text1.Width(), 2980);
    EXPECT_FLOAT_EQ(f.Text1.Top(), 105);
    QWidget* w = WidgetOf(f);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 1.0);
    EXPECT_EQ(w->windowTitle(), "Kelm屏幕提示框");
    EXPECT_EQ(w->geometry(), QRect(0, 0, 200, 47));
    EXPECT_EQ(ChildOf<QLineEdit>(f)->text(), "[文本内容]");
    EXPECT_EQ(ChildOf<QLineEdit>(f)->toolTip(), "双击可以清空内容.右边边可以调整文本宽度");
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

float opacity(Form1& f) {
    return static_cast<float>(WidgetOf(f)->windowOpacity());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PromptRestoreTest,
    ::testing::Values(Restore{"geometry",
                              {{&S::Left, "1500"}, {&S::Top, "300"}, {&S::Width, "5000"}},
                              [](Form1& f) {
                                  EXPECT_FLOAT_EQ(f.Left(), 1500);
                                  EXPECT_FLOAT_EQ(f.Top(), 300);
                                  EXPECT_FLOAT_EQ(f.Width(), 5000);
                                  EXPECT_FLOAT_EQ(f.Text1.Width(), 4980);
                                  EXPECT_EQ(WidgetOf(f)->geometry(), QRect(100, 20, 333, 47));
                              }},
                      Restore{"box height decides",
                              {{&S::Height, "900"}, {&S::BoxHeight, "1200"}},
                              [](Form1& f) {
                                  EXPECT_FLOAT_EQ(f.Height(), 1200);
                                  EXPECT_FLOAT_EQ(f.Text1.Top(), 352.5f);
                              }},
                      Restore{"empty text shows the placeholder",
                              {{&S::Text, ""}},
                              [](Form1& f) { EXPECT_EQ(f.Text1.Text(), "[文本内容]"); }},
                      Restore{"text",
                              {{&S::Text, "录屏中 Recording"}},
                              [](Form1& f) { EXPECT_EQ(f.Text1.Text(), "录屏中 Recording"); }},
                      Restore{"font size with letters",
                              {{&S::FontSize, "12abc"}},
                              [](Form1& f) {
                                  EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 12);
                                  EXPECT_FLOAT_EQ(f.Text1.Top(),
                                                  static_cast<float>(352.5 - 12 / 14.5 * 247.5));
                              }},
                      Restore{"red text",
                              {{&S::FontColor, "255"}},
                              [](Form1& f) { EXPECT_EQ(f.Text1.ForeColor(), 0x0000FF); }},
                      Restore{"hex colour",
                              {{&S::BackColor, "&HFF0000"}},
                              [](Form1& f) {
                                  EXPECT_EQ(f.Text1.BackColor(), 0xFF0000);
                                  EXPECT_EQ(f.BackColor(), 0xFF0000);
                              }},
                      Restore{"colour rounds half to even",
                              {{&S::FontColor, "254.5"}},
                              [](Form1& f) { EXPECT_EQ(f.Text1.ForeColor(), 254); }},
                      Restore{"font name",
                              {{&S::FontName, "黑体"}},
                              [](Form1& f) { EXPECT_EQ(f.Text1.Font().Name, "黑体"); }},
                      Restore{"alpha 200",
                              {{&S::Alpha, "200"}},
                              [](Form1& f) { EXPECT_NEAR(opacity(f), 200 / 255.0, 0.005); }},
                      Restore{"alpha 0 is applied",
                              {{&S::Alpha, "0"}},
                              [](Form1& f) { EXPECT_FLOAT_EQ(opacity(f), 0); }},
                      Restore{"alpha 255 leaves it opaque",
                              {{&S::Alpha, "255"}},
                              [](Form1& f) { EXPECT_FLOAT_EQ(opacity(f), 1); }}),
    RowName<Restore>);

struct Damaged {
    const Setting* setting;
    const char* text;
};

class PromptDamagedTest : public WindowTest, public ::testing::WithParamInterface<Damaged> {};

// A damaged entry keeps its default and nothing else changes.
TEST_P(PromptDamagedTest, KeepsTheDefault) {
    seed(*GetParam().setting, GetParam().text);
    Form1& f = toolkit::Instance<Form1>();
    EXPECT_FLOAT_EQ(f.Left(), 0);
    EXPECT_FLOAT_EQ(f.Top(), 0);
    EXPECT_FLOAT_EQ(f.Width(), 3000);
    EXPECT_FLOAT_EQ(f.Height(), 705);
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 14.5);
    EXPECT_EQ(f.Text1.Font().Name, "微软雅黑");
    EXPECT_EQ(f.Text1.ForeColor(), 0xFFFFFF);
    EXPECT_EQ(f.Text1.BackColor(), 0x404040);
    EXPECT_EQ(f.BackColor(), 0x404040);
    EXPECT_FLOAT_EQ(opacity(f), 1);
    EXPECT_FALSE(toolkit::Ending());
    EXPECT_EQ(stored(*GetParam().setting), GetParam().text) << "the stored text is kept";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PromptDamagedTest,
    ::testing::Values(
        Damaged{&S::Left, "abc"}, Damaged{&S::Left, "12abc"}, Damaged{&S::Left, "1e999"},
        Damaged{&S::Left, "9e9"}, Damaged{&S::Top, ""}, Damaged{&S::Top, "--3"},
        Damaged{&S::Width, "-5"}, Damaged{&S::Width, "wide"}, Damaged{&S::Width, "1e12"},
        Damaged{&S::Height, "x"}, Damaged{&S::Height, "-705"}, Damaged{&S::Alpha, "300"},
        Damaged{&S::Alpha, "abc"}, Damaged{&S::Alpha, "-1"}, Damaged{&S::Alpha, "255.5"},
        Damaged{&S::FontColor, "16777216"}, Damaged{&S::FontColor, "-5"},
        Damaged{&S::FontColor, "1e20"}, Damaged{&S::BackColor, "99999999"},
        Damaged{&S::BackColor, "&H1000000"}, Damaged{&S::FontSize, "0"},
        Damaged{&S::FontSize, "abc"}, Damaged{&S::FontSize, "-3"}, Damaged{&S::FontSize, "5000"},
        Damaged{&S::FontSize, "1e999"}, Damaged{&S::FontName, ""}, Damaged{&S::BoxHeight, "0"},
        Damaged{&S::BoxHeight, "-100"}, Damaged{&S::BoxHeight, "abc"},
        Damaged{&S::BoxHeight, "1e30"},
        // Too small to see or grab: 10 pixels is the least the window takes.
        Damaged{&S::Width, "0"}, Damaged{&S::Width, "1e-400"}, Damaged{&S::Width, "142"},
        Damaged{&S::Height, "1"}, Damaged{&S::BoxHeight, "1"}, Damaged{&S::BoxHeight, "142"}));

TEST_F(PromptTest, WindowOffEveryScreenComesBackToThePrimaryOne) {
    // The offscreen screen is 800 x 600 pixels: 12000 x 9000 twips.
    seed(S::Left, "60000");
    seed(S::Top, "-30000");
    seed(S::Width, "5000");
    Form1& f = toolkit::Instance<Form1>();
    EXPECT_FLOAT_EQ(f.Width(), 5000);
    EXPECT_FLOAT_EQ(f.Height(), 705);
    EXPECT_FLOAT_EQ(f.Left(), 12000 - 5000);
    EXPECT_FLOAT_EQ(f.Top(), 0);
}

TEST_F(PromptTest, WindowOverlappingAScreenStaysWhereItWas) {
    seed(S::Left, "11000");
    seed(S::Top, "-600");
    Form1& f = toolkit::Instance<Form1>();
    EXPECT_FLOAT_EQ(f.Left(), 11000);
    EXPECT_FLOAT_EQ(f.Top(), -600);
}

TEST_F(PromptTest, ChineseFaceIsAskedForUnderTheProgramsName) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    const QString family = QFontInfo(ChildOf<QLineEdit>(f)->font()).family();
    EXPECT_EQ(f.Text1.Font().Name, "微软雅黑");
    EXPECT_TRUE(family.contains("CJK SC") || family.contains("WenQuanYi") ||
                family.contains("Source Han Sans SC"))
        << family.toStdString();
}

TEST_F(PromptTest, FontChangeMovesTheTextBoxThroughCalcTop) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    f.Text1.setFontSize(29);
    EXPECT_FLOAT_EQ(f.Text1.Top(), 105) << "a font change alone lays nothing out";
    f.CalcTop();
    EXPECT_FLOAT_EQ(f.Text1.Top(), -142.5f);
    f.Text1.setFontSize(7.25);
    f.CalcTop();
    EXPECT_FLOAT_EQ(f.Text1.Top(), 228.75f);
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
                                f.setLeft(1500);
                                f.setTop(300);
                                f.setWidth(5000);
                                f.setHeight(1006);
                            },
                            "会议中", "1500", "300", "5000", "1006"},
                      Saved{"fractions", [](Form1& f) { f.setLeft(1500.25f); }, "[文本内容]",
                            "1500.25", "0", "3000", "705"}),
    RowName<Saved>);

TEST_F(PromptTest, SavedGeometryIsRestoredAtTheNextStart) {
    Form1& f = toolkit::Instance<Form1>();
    f.setLeft(1500);
    f.setTop(300);
    f.setWidth(5000);
    f.Text1.setText("");
    toolkit::Unload(f);
    Form1& again = toolkit::Instance<Form1>();
    EXPECT_FLOAT_EQ(again.Left(), 1500);
    EXPECT_FLOAT_EQ(again.Top(), 300);
    EXPECT_FLOAT_EQ(again.Width(), 5000);
    EXPECT_EQ(again.Text1.Text(), "[文本内容]");
}

TEST_F(PromptTest, QuitRequestSavesAndEndsTheProgram) {
    Form1& f = toolkit::Instance<Form1>();
    f.Text1.setText("下班前保存");
    toolkit::SystemQuitRequested();
    EXPECT_EQ(stored(S::Text), "下班前保存");
    EXPECT_TRUE(toolkit::Ending());
    EXPECT_TRUE(toolkit::Forms().empty());
}

TEST_F(PromptTest, ClosingThePromptWindowEndsTheProgram) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    f.setLeft(450);
    WidgetOf(f)->close();
    EXPECT_EQ(stored(S::Left), "450");
    EXPECT_TRUE(toolkit::Ending());
    EXPECT_TRUE(toolkit::Forms().empty());
}

// A person who chose 退出 is told that the save failed; an end asked for from outside (a signal,
// the session) cannot wait for anyone: it says so on stderr and ends with a failure status.
TEST_F(PromptTest, RefusedWriteAtTheEndIsReportedAndEnds) {
    for (const bool fromOutside : {false, true}) {
        SCOPED_TRACE(fromOutside ? "from outside" : "退出");
        toolkit::ResetEnding();
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
        seed(S::Text, "以前的");
        toolkit::Instance<Form1>().Text1.setText("新的");
        breakStore();
        bool boxShown = false;
        AnswerIfModal answer([&](QWidget* w) {
            boxShown = true;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                EXPECT_TRUE(box->text().startsWith("无法保存设置"));
                EXPECT_EQ(box->windowTitle(), "Kelm屏幕提示框");
            }
            w->close();
        });
        if (fromOutside)
            toolkit::SystemQuitRequested();
        else
            toolkit::Dispatch([] { toolkit::Instance<设置>().退出_Click(); });
        EXPECT_EQ(boxShown, !fromOutside);
        EXPECT_EQ(toolkit::ExitStatus(), fromOutside ? 1 : 0);
        EXPECT_TRUE(toolkit::Ending());
        EXPECT_TRUE(toolkit::Forms().empty());
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
        EXPECT_EQ(stored(S::Text), "以前的");
    }
}

} // namespace
