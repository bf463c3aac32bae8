// The About window: one instance, its change log, and what its labels open.
#include "fixture.h"

#include "about/about_window.h"
#include "app/product.h"
#include "settings/settings_window.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>

namespace {

// Collects what the shell was asked to open, instead of starting a browser.
class Catcher : public QObject {
    Q_OBJECT
  public:
    QStringList opened;
  public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

class AboutTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        for (const char* scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(scheme, &m_catcher, "open");
    }
    void TearDown() override {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::unsetUrlHandler(scheme);
        WindowTest::TearDown();
    }
    Catcher m_catcher;
};

QLabel* labelWithText(toolkit::Window& w, const QString& text) {
    for (QLabel* l : WidgetOf(w)->findChildren<QLabel*>())
        if (l->text() == text)
            return l;
    return nullptr;
}

TEST_F(AboutTest, ChangeLogHasExactlySixLines) {
    关于& a = toolkit::Instance<关于>();
    EXPECT_EQ(a.ts.Text(), "verez---Kelm屏幕提示框\r\n更新日志:\r\n20190228-->>\r\n"
                           "1、文本框双击可清空内容\r\n2、鼠标按住右下角可以改变文本框的宽度\r\n"
                           "3、右键文件框可以调用设置菜单");
    auto* edit = ChildOf<QPlainTextEdit>(a);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->blockCount(), 6);
    EXPECT_EQ(edit->toPlainText().split('\n').last(), "3、右键文件框可以调用设置菜单");
}

TEST_F(AboutTest, ReopeningRebuildsAnEditedChangeLog) {
    关于& a = toolkit::Instance<关于>();
    QTest::keyClicks(ChildOf<QPlainTextEdit>(a), "edited");
    EXPECT_NE(a.ts.Text().find("edited"), std::string::npos);
    toolkit::Unload(a);
    EXPECT_EQ(toolkit::Instance<关于>().ts.Text().find("edited"), std::string::npos);
}

TEST_F(AboutTest, TwoClicksShowOneWindow) {
    设置& s = toolkit::Instance<设置>();
    s.关于作者_Click();
    关于* first = toolkit::LoadedInstance<关于>();
    s.关于作者_Click();
    EXPECT_EQ(toolkit::LoadedInstance<关于>(), first);
    EXPECT_EQ(toolkit::Forms().size(), 3u) << "prompt, settings and one About window";
    QWidget* w = WidgetOf(*first);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "关于作者");
    EXPECT_EQ(w->size(), QSize(431, 452)) << "6465 x 6780 twips";
    EXPECT_FALSE(w->windowIcon().isNull());
}

TEST_F(AboutTest, ProductLabelsOpenTheirPages) {
    关于& a = toolkit::Instance<关于>();
    a.Show();
    for (const auto& product : kelm::kAboutProducts) {
        QLabel* label = labelWithText(a, product.name);
        ASSERT_NE(label, nullptr) << product.name;
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    }
    ASSERT_EQ(m_catcher.opened.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(QUrl(m_catcher.opened[i]), QUrl(kelm::kAboutProducts[i].url));
}

TEST_F(AboutTest, VersionLinkShowsAMessageAndOpensNothing) {
    关于& a = toolkit::Instance<关于>();
    a.Show();
    QLabel* label = labelWithText(a, "查看最新版本--Kelm屏幕提示框 20190218");
    ASSERT_NE(label, nullptr);
    for (int i = 0; i < 2; ++i) {
        ShownMessage message;
        AcceptNextMessage(message);
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(message.text, "加QQ获取版本最新版");
        EXPECT_EQ(message.title, "Kelm提示您");
        EXPECT_EQ(message.icon, QMessageBox::Information);
    }
    EXPECT_TRUE(m_catcher.opened.isEmpty());
}

} // namespace

#include "about_test.moc"
