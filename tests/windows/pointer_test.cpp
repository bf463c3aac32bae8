// The mouse on the prompt window: width drag, pointer shapes, double-click, context menu.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"
#include "toolkit/screen.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

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

TEST_F(PointerTest, MovesOtherwiseOnlySetThePointer) {
    Form1& f = toolkit::Instance<Form1>();
    f.Form_MouseDown(1, 0, 2900, 0);
    f.Form_MouseMove(3, 0, 5000, 0); // left and right held together
    EXPECT_FLOAT_EQ(f.Width(), 3000);
    EXPECT_EQ(f.MousePointer(), 9);
    f.Form_MouseMove(0, 0, 5000, 0);
    EXPECT_FLOAT_EQ(f.Width(), 3000);
    EXPECT_EQ(f.MousePointer(), 9);

    f.Form_MouseDown(1, 0, 2799, 0);
    f.Form_MouseMove(1, 0, 5000, 0);
    EXPECT_FLOAT_EQ(f.Width(), 3000);
    EXPECT_EQ(f.MousePointer(), 1) << "a left drag away from the edge shows the arrow";

    f.Text1_MouseMove(0, 0, 10, 10);
    EXPECT_EQ(f.MousePointer(), 1);
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
    auto* edit = ChildOf<QLineEdit>(f);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseDClick(edit, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(f.Text1.Text(), "");
    EXPECT_EQ(edit->text(), "");
    QTest::mouseDClick(edit, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(edit->text(), "[文本内容]");
}

TEST_F(PointerTest, RightClickLoadsTheSettingsWindowHiddenOnceAndDisablesTheBox) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    auto* edit = ChildOf<QLineEdit>(f);
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
    QStringList captions;
    bool enabledWhileOpen = true;
    AnswerNextModal([&](QWidget* w) {
        auto* menu = qobject_cast<QMenu*>(w);
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            captions << a->text() + (a->isSeparator() ? "|sep" : "");
        enabledWhileOpen = edit->isEnabled() || f.Text1.Enabled();
        menu->close();
    });
    QTest::mousePress(edit, Qt::RightButton, {}, QPoint(20, 10));
    QTest::mouseRelease(edit, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(captions, QStringList({"参数设置", "关于作者", "退出"}));
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(f.Text1.Enabled());
    EXPECT_TRUE(edit->isEnabled());
    设置* settings = toolkit::LoadedInstance<设置>();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->Visible());
    EXPECT_FALSE(WidgetOf(*settings)->isVisible());

    AnswerNextModal([](QWidget* w) { w->close(); });
    QTest::mousePress(edit, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), settings) << "not loaded again";
}

TEST_F(PointerTest, RightClickOnTheSurfaceOpensTheSameMenu) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    int items = 0;
    AnswerNextModal([&](QWidget* w) {
        items = static_cast<int>(static_cast<QMenu*>(w)->actions().size());
        w->close();
    });
    QTest::mousePress(WidgetOf(f), Qt::RightButton, {}, QPoint(199, 2));
    EXPECT_EQ(items, 3);
}

TEST_F(PointerTest, ExitFromTheMenuSavesAndEnds) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    f.setWidth(5000);
    f.Text1.setText("退出前");
    AnswerNextModal([](QWidget* w) { ChooseMenuItem(w, 2); });
    QTest::mousePress(ChildOf<QLineEdit>(f), Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_TRUE(toolkit::Ending());
    EXPECT_TRUE(toolkit::Forms().empty());
    EXPECT_EQ(stored(S::Text), "退出前");
    EXPECT_EQ(stored(S::Width), "5000");
}

} // namespace
