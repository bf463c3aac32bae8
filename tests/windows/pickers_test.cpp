// The colour and font dialogs, answered from the test.
#include "fixture.h"

#include "prompt/form1.h"
#include "services/pickers.h"
#include "settings/settings_window.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QMessageBox>

namespace {

using PickersTest = WindowTest;

TEST_F(PickersTest, ColourDialogStartsBlackEveryTimeAndIsOwnedByThePrompt) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    设置& s = toolkit::Instance<设置>();
    for (int round = 0; round < 2; ++round) {
        bool allBlack = true;
        QWidget* owner = nullptr;
        QColor start;
        AnswerNextModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QColorDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            for (int i = 0; i < QColorDialog::customCount(); ++i)
                allBlack = allBlack && QColorDialog::customColor(i) == QColor(0, 0, 0);
            owner = dialog->parentWidget();
            start = dialog->currentColor();
            QColorDialog::setCustomColor(3, Qt::red); // defined by the user this time
            dialog->reject();
        });
        s.Command3_Click();
        EXPECT_TRUE(allBlack) << "round " << round;
        EXPECT_EQ(owner, WidgetOf(f));
        EXPECT_EQ(start, QColor(0, 0, 0)) << "no colour preselected";
        EXPECT_EQ(s.FColor.Text(), "-1") << "cancelled";
    }
}

TEST_F(PickersTest, ChosenColoursGoIntoTheirLists) {
    toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    const struct {
        QColor colour;
        const char* text;
        bool background;
    } rows[] = {{QColor(255, 0, 0), "255", false},
                {QColor(0, 0, 0), "0", false},
                {QColor(0x40, 0x40, 0x40), "4210752", true},
                {QColor(0, 0, 255), "16711680", true}};
    for (const auto& r : rows) {
        AnswerNextModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QColorDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            dialog->setCurrentColor(r.colour);
            dialog->accept();
        });
        r.background ? s.Command5_Click() : s.Command3_Click();
        EXPECT_EQ((r.background ? s.BColor : s.FColor).Text(), r.text);
    }
}

QString cjkFamily() {
    for (const QString& f : QFontDatabase::families())
        if (f.contains("WenQuanYi") || f.contains("CJK SC"))
            return f;
    return QFontDatabase::families().value(0);
}

TEST_F(PickersTest, FontDialogOpensOnTheCurrentFontRoundedToEvenPoints) {
    toolkit::Instance<Form1>(); // 14.5 points, bold
    设置& s = toolkit::Instance<设置>();
    QFont seeded;
    AnswerNextModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFontDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->parentWidget(), nullptr) << "the font dialog has no owner";
        seeded = dialog->currentFont();
        dialog->reject();
    });
    s.FName.setText("unchanged");
    s.Command2_Click();
    EXPECT_EQ(seeded.pointSize(), 14);
    EXPECT_TRUE(QFontDatabase::families().contains(seeded.family()))
        << "a face that is installed: " << seeded.family().toStdString();
    EXPECT_EQ(s.FName.Text(), "unchanged") << "cancel changes nothing";
    EXPECT_EQ(s.FSize.Text(), "14.5");
}

TEST_F(PickersTest, ChosenFaceAndPointSizeGoIntoTheLists) {
    Form1& f = toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    const QString family = cjkFamily();
    // Qt's font dialog offers whole points only.
    for (double points : {9.0, 15.0, 21.0, 72.0, 8.0}) {
        AnswerNextModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFontDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            QFont font(family);
            font.setPointSizeF(points);
            font.setItalic(true);
            font.setUnderline(true);
            dialog->setCurrentFont(font);
            dialog->accept();
        });
        s.Command2_Click();
        EXPECT_EQ(s.FName.Text(), family.toStdString());
        char text[16];
        std::snprintf(text, sizeof text, "%g", points);
        EXPECT_EQ(s.FSize.Text(), text) << "the size the user chose";
    }
    EXPECT_FALSE(f.Text1.Font().Italic) << "nothing reaches the prompt before 确认";
    EXPECT_DOUBLE_EQ(f.Text1.Font().Size, 14.5);
}

TEST_F(PickersTest, FontDialogWillNotCloseOnASizeOutsideItsLimits) {
    toolkit::Instance<Form1>();
    设置& s = toolkit::Instance<设置>();
    for (double points : {100.0, 7.0}) {
        bool refused = false, stillOpen = false;
        AnswerNextModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFontDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            QFont font(cjkFamily());
            font.setPointSizeF(points);
            dialog->setCurrentFont(font);
            AnswerNextModal([&, dialog](QWidget* box) {
                refused = qobject_cast<QMessageBox*>(box) != nullptr;
                box->close();
                AnswerNextModal([&, dialog](QWidget*) {
                    stillOpen = dialog->isVisible();
                    dialog->reject();
                });
            });
            dialog->accept();
        });
        s.Command2_Click();
        EXPECT_TRUE(refused) << points;
        EXPECT_TRUE(stillOpen) << points;
        EXPECT_EQ(s.FSize.Text(), "14.5") << points;
    }
}

} // namespace
