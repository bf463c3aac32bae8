// The settings window's life.
#include "fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"

namespace {

using SettingsTest = WindowTest;

TEST_F(SettingsTest, ClosingAndReopeningLoadsAFreshWindow) {
    toolkit::Instance<Form1>().Show();
    设置& first = toolkit::Instance<设置>();
    first.参数设置_Click();
    first.FSize.setText("99 unconfirmed");
    driver::Close(first);
    EXPECT_EQ(toolkit::LoadedInstance<设置>(), nullptr);
    EXPECT_NE(toolkit::LoadedInstance<Form1>(), nullptr) << "only the settings window goes";
    EXPECT_FALSE(toolkit::Ending());
    EXPECT_EQ(toolkit::Instance<设置>().FSize.Text(), "14.5");
}

} // namespace
