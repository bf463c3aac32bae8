#include "fixture.h"

#include "toolkit/program.h"
#include "toolkit/realisation.h"
#include "toolkit/units.h"

void WindowTest::SetUp() {
    driver::ClearStore();
    toolkit::ResetEnding();
    driver::Reset();
}

void WindowTest::TearDown() {
    EXPECT_EQ(driver::Unanswered(), 0) << "a dialog the test meant to answer never opened";
    toolkit::DestroyAllForms();
    toolkit::FreeUnloadedForms();
    driver::Settle();
}

void WindowTest::seed(const FMain::Setting& setting, const std::string& text) {
    FMain::SaveConfig(setting.key(), text);
}

int Pixels(double twips) {
    return toolkit::ToPixels(twips, toolkit::CurrentRealisation().twipsPerPixel());
}

std::optional<std::string> WindowTest::stored(const FMain::Setting& setting) {
    return toolkit::CurrentRealisation().store().read(std::string(FMain::kAppName),
                                                      std::string(FMain::kSection), setting.key());
}
