#pragma once
// The windows on the real realisation, each test with an empty settings store.
#include "driver.h"
#include "services/config.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"
#include "toolkit/units.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        driver::ClearStore();
        toolkit::ResetEnding();
        driver::Reset();
    }
    void TearDown() override {
        EXPECT_EQ(driver::Unanswered(), 0) << "a dialog the test meant to answer never opened";
        toolkit::DestroyAllForms();
        toolkit::FreeUnloadedForms();
        driver::Pump();
    }

    static void seed(const FMain::Setting& setting, const std::string& text) {
        FMain::SaveConfig(setting.key(), text);
    }
    static std::optional<std::string> stored(const FMain::Setting& setting) {
        return toolkit::CurrentRealisation().store().read(
            std::string(FMain::kAppName), std::string(FMain::kSection), setting.key());
    }
};

// Twips as the realisation's windows measure them, in pixels at the system's DPI.
inline int Pixels(double twips) {
    return toolkit::ToPixels(twips, toolkit::CurrentRealisation().twipsPerPixel());
}
