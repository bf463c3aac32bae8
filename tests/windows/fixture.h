#pragma once
// The windows on the real realisation, each test with an empty settings store.
#include "driver.h"
#include "services/config.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static void seed(const FMain::Setting& setting, const std::string& text);
    static std::optional<std::string> stored(const FMain::Setting& setting);
};

// Twips as the realisation's windows measure them, in pixels at the system's DPI.
int Pixels(double twips);

// Names a table's rows after their `name` field.
template <class Row> std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    std::string n = info.param.name;
    for (char& c : n)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return n;
}
