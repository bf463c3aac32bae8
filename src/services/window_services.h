#pragma once
// Services for borderless, topmost, translucent windows and for opening web pages.
#include <cstdint>
#include <string>

namespace FMain {

// Hands the press to the window system as a press on the caption: the window follows the
// pointer until the button is released.
void DragWindow(uintptr_t hWnd, int16_t Button);
// The same, only when Button is exactly the left button.
void DragWindowOnLeft(uintptr_t hWnd, int16_t Button);
void SetTopmost(uintptr_t hWnd);
// Gives the prompt window a constant alpha; once translucent it stays layered, 255 included.
void SetAlpha(uint8_t alpha);
void ShellOpen(const std::string& target);

} // namespace FMain
