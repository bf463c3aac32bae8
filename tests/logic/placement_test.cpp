#include "prompt/placement.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using toolkit::Monitor;
using toolkit::Rect;

namespace {

// Twips at 96 DPI: 15 to the pixel. A screen of 1280 × 800 pixels is 19200 × 12000.
constexpr float P = 15;
const Monitor kWhole{{0, 0, 19200, 12000}, {0, 0, 19200, 12000}};
const Monitor kPanelAtTop{{0, 0, 19200, 12000}, {0, 40 * P, 19200, 760 * P}};
// Side by side: the primary with a taskbar at the bottom, and a smaller one to its right.
const Monitor kLeft{{0, 0, 19200, 12000}, {0, 0, 19200, 760 * P}};
const Monitor kRight{{19200, 0, 19200, 9000}, {19200, 0, 19200, 9000}};

TEST(Placement, OutOfReachGoesIntoTheNearestWorkArea) {
    const struct {
        const char* name;
        std::vector<Monitor> screens;
        Rect window;
        std::optional<Place> place; // nothing: it stays
    } rows[] = {
        {"inside", {kWhole}, {1500, 3000, 3000, 705}, {}},
        {"under the panel", {kPanelAtTop}, {1500, 0, 3000, 705}, Place{1500, 600}},
        // The text box begins 105 twips below the window's top.
        {"19 px of the text below the panel",
         {kPanelAtTop},
         {1500, 600 - 105 - 14 * P, 3000, 705},
         Place{1500, 600}},
        {"20 px of the text below the panel",
         {kPanelAtTop},
         {1500, 600 - 105 - 13 * P, 3000, 705},
         {}},
        {"19 × 19 px in the corner",
         {kWhole},
         {19200 - 19 * P, 12000 - 105 - 19 * P, 3000, 705},
         Place{16200, 11295}},
        {"20 × 20 px in the corner",
         {kWhole},
         {19200 - 20 * P, 12000 - 105 - 20 * P, 3000, 705},
         {}},
        {"above the screen", {kWhole}, {1500, -5000, 3000, 705}, Place{1500, 0}},
        {"across two monitors", {kLeft, kRight}, {17700, 3000, 3000, 705}, {}},
        {"right of the right monitor",
         {kLeft, kRight},
         {40000, 3000, 3000, 705},
         Place{35400, 3000}},
        {"on the primary, under its taskbar",
         {kLeft, kRight},
         {1500, 11500, 3000, 705},
         Place{1500, 10695}},
        {"below the smaller monitor: it is the nearer",
         {kLeft, kRight},
         {25000, 10000, 3000, 705},
         Place{25000, 8295}},
        {"left of everything", {kLeft, kRight}, {-9000, 3000, 3000, 705}, Place{0, 3000}},
        {"larger than the work area", {kPanelAtTop}, {-5000, -3000, 25000, 13000}, Place{0, 600}},
        {"wider than the work area", {kPanelAtTop}, {-8000, 20000, 25000, 705}, Place{0, 11295}},
        // Too low for 20 px of text: it cannot be brought within reach, and stays inside.
        {"too low to grab, inside", {kWhole}, {1500, 3000, 3000, 150}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const Rect textBox{0, 105, r.window.width - 20, 495};
        const std::optional<Place> place = BroughtWithinReach(r.window, textBox, r.screens, P);
        EXPECT_EQ(place.has_value(), r.place.has_value());
        if (place && r.place) {
            EXPECT_EQ(place->left, r.place->left);
            EXPECT_EQ(place->top, r.place->top);
        }
    }
}

// At 144 DPI a pixel is 10 twips: the 20 pixels count in the screen's own pixels.
TEST(Placement, GripIsCountedInPixelsOfTheScreen) {
    const Monitor screen{{0, 0, 12800, 8000}, {0, 0, 12800, 8000}};
    const Rect textBox{0, 105, 2980, 495};
    EXPECT_TRUE(BroughtWithinReach({12800 - 190, 3000, 3000, 705}, textBox, {screen}, 10));
    EXPECT_FALSE(BroughtWithinReach({12800 - 200, 3000, 3000, 705}, textBox, {screen}, 10));
}

} // namespace
