// The About window: one instance, its change log, and what its labels open.
#include "fixture.h"

#include "about/about_window.h"
#include "app/product.h"
#include "settings/settings_window.h"

#include <algorithm>

namespace {

using AboutTest = WindowTest;

TEST_F(AboutTest, ChangeLogShowsItsSixLines) {
    关于& a = toolkit::Instance<关于>();
    const std::string shown = driver::Native(a.ts).text;
    EXPECT_EQ(shown, a.ts.Text());
    EXPECT_EQ(std::ranges::count(shown, '\n'), 5) << shown;
    EXPECT_TRUE(shown.ends_with("\r\n3、右键文件框可以调用设置菜单")) << shown;
}

TEST_F(AboutTest, ReopeningRebuildsAnEditedChangeLog) {
    关于& a = toolkit::Instance<关于>();
    a.Show();
    driver::Type(a.ts, "edited");
    EXPECT_EQ(a.ts.Text(), "edited");
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
    const driver::WindowState w = driver::Native(*first);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.title, "关于作者");
    EXPECT_EQ(w.clientWidth, Pixels(6465));
    EXPECT_EQ(w.clientHeight, Pixels(6780));
    EXPECT_TRUE(w.icon);
    EXPECT_NE(w.inTaskbar, false) << "where the realisation can tell";
}

TEST_F(AboutTest, LinksOpenTheirPagesAndTheVersionLinkShowsAMessage) {
    关于& a = toolkit::Instance<关于>();
    a.Show();
    toolkit::Label* links[] = {&a.Label4, &a.Label5, &a.Label6, &a.Label8};
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(driver::Native(*links[i]).text, kelm::kAboutProducts[i].name);
        driver::Click(*links[i]);
        expected.push_back(kelm::kAboutProducts[i].url);
    }
    for (int i = 0; i < 2; ++i) {
        driver::Shown message;
        driver::Answer(driver::Accept(), &message);
        driver::Click(a.Label7);
        EXPECT_EQ(message.text, "加QQ获取版本最新版");
        EXPECT_EQ(message.title, "Kelm提示您");
        EXPECT_TRUE(message.information);
    }
    EXPECT_EQ(driver::Opened(), expected) << "the version link opens nothing";
}

} // namespace
