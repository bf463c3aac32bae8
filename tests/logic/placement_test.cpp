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

// The prompt window at its usual size, 200 × 47 pixels.
Rect at(float left, float top) {
    return {left, top, 3000, 705};
}

TEST(Placement, OutOfReachGoesIntoTheNearestWorkArea) {
    const struct {
        const char* name;
        std::vector<Monitor> screens;
        Rect window;
        std::optional<Place> place; // nothing: it stays
    } rows[] = {
        {"under the panel", {kPanelAtTop}, at(1500, 0), Place{1500, 600}},
        // The text box begins 105 twips below the window's top; 19 px below it: prompt_e2e.sh.
        {"20 px of the text below the panel", {kPanelAtTop}, at(1500, 300), {}},
        {"19 × 19 px in the corner", {kWhole}, at(18915, 11610), Place{16200, 11295}},
        {"across two monitors", {kLeft, kRight}, at(17700, 3000), {}},
        {"right of the right monitor", {kLeft, kRight}, at(40000, 3000), Place{35400, 3000}},
        {"on the primary, under its taskbar", {kLeft, kRight}, at(1500, 11500), Place{1500, 10695}},
        {"below the smaller, nearer one", {kLeft, kRight}, at(25000, 10000), Place{25000, 8295}},
        {"left of everything", {kLeft, kRight}, at(-9000, 3000), Place{0, 3000}},
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

} // namespace
