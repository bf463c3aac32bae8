#include "prompt/layout.h"

#include <gtest/gtest.h>

namespace {

TEST(Layout, TextBoxTopFollowsTheFontSize) {
    const struct {
        double windowHeight, boxHeight, fontSize;
        float top;
    } rows[] = {
        {705, 495, 14.5, 105},     // centred at the default size
        {705, 495, 29, -142.5f},   // twice the size starts above the window
        {705, 495, 7.25, 228.75f}, // half the size moves down
        {1200, 495, 14.5, 352.5f}, {0, 495, 14.5, -247.5f},
    };
    for (const auto& r : rows)
        EXPECT_FLOAT_EQ(TextBoxTop(r.windowHeight, r.boxHeight, r.fontSize), r.top)
            << r.windowHeight << " " << r.fontSize;
}

TEST(Layout, TextBoxWidthNeverNegative) {
    EXPECT_FLOAT_EQ(TextBoxWidth(3000), 2980);
    EXPECT_FLOAT_EQ(TextBoxWidth(20), 0);
    EXPECT_FLOAT_EQ(TextBoxWidth(10), 0);
    EXPECT_FLOAT_EQ(TextBoxWidth(0), 0);
}

} // namespace
