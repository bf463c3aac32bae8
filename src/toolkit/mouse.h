#pragma once
#include <cstdint>

namespace toolkit {

enum MouseButton : int16_t { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum class MouseKind { Down, Move, Up };

// Button is the pressed button for Down/Up and the set of held buttons for Move; X and Y are
// twips relative to the surface that receives the event.
struct MouseArgs {
    int16_t Button = 0;
    int16_t Shift = 0;
    float X = 0;
    float Y = 0;
};

// Pointer shapes used by the program.
inline constexpr int16_t vbArrow = 1;
inline constexpr int16_t vbSizeWE = 9;

} // namespace toolkit
