// The mouse on the prompt window's surface: the width drag.
#include "fixture.h"

#include "prompt/form1.h"
#include "toolkit/screen.h"

#include <sstream>

namespace {

// Presses ('D') and moves ('M') on the window surface with the buttons the handlers get, at x in
// twips; a negative x or width stands for that far beyond the screen's width, or for its width.
struct Gesture {
    const char* name;
    const char* steps;
    float width;
    int16_t pointer, flag;
};

class PointerGestureTest : public WindowTest, public ::testing::WithParamInterface<Gesture> {};

TEST_P(PointerGestureTest, WidthFollowsALeftDragFromTheRightEdge) {
    const Gesture& g = GetParam();
    SCOPED_TRACE(g.name);
    Form1& f = toolkit::Instance<Form1>();
    std::istringstream steps(g.steps);
    char kind;
    int16_t button;
    float x;
    while (steps >> kind >> button >> x) {
        const float at = x < 0 ? toolkit::Screen::Width() - x : x;
        kind == 'D' ? f.Form_MouseDown(button, 0, at, 0) : f.Form_MouseMove(button, 0, at, 0);
    }
    EXPECT_FLOAT_EQ(f.Width(), g.width < 0 ? toolkit::Screen::Width() : g.width);
    EXPECT_FLOAT_EQ(f.Left(), 0) << "the left edge stays";
    EXPECT_FLOAT_EQ(f.Text1.Width(), f.Width() - 20);
    EXPECT_EQ(f.MousePointer(), g.pointer);
    EXPECT_EQ(f.ResizeFlag, g.flag);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointerGestureTest,
    ::testing::Values(
        Gesture{"edge starts 200 twips in", "D1 2800 M1 4500", 4500, 9, 1},
        Gesture{"fraction", "D1 2999 M1 5000.5", 5000.5f, 9, 1},
        Gesture{"not below 3000", "D1 2900 M1 1000", 3000, 9, 1},
        Gesture{"not beyond the screen", "D1 2900 M1 -500", -1, 9, 1},
        Gesture{"away from the edge shows the arrow", "D1 2799 M1 5000", 3000, 1, 0},
        Gesture{"two buttons held", "D1 2900 M3 5000", 3000, 9, 1},
        Gesture{"two-button press leaves the flag", "D1 2900 D3 100 M1 4000", 4000, 9, 1},
        Gesture{"middle press leaves the flag", "D1 100 D4 2900 M1 4000", 3000, 1, 0},
        Gesture{"flag outlives the release", "D1 2900 M1 4000 M0 100 M1 5000", 5000, 9, 1}));

} // namespace
