#pragma once
// The prompt window: a borderless, topmost window holding one line of text.
#include "toolkit/control.h"
#include "toolkit/window.h"

#include <cstdint>

class Form1 : public toolkit::Window {
  public:
    Form1();

    toolkit::TextBox Text1;
    // 1 while the current left press on the window surface began near the right edge.
    int16_t ResizeFlag = 0;

    // Places the text box vertically for the current font size and window height.
    void CalcTop();
    // Moves the window, keeping its size, wholly into the work area of the screen nearest to it.
    void BringFullyOnScreen();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int16_t& Cancel) override;
    void Form_MouseDown(int16_t Button, int16_t Shift, float X, float Y) override;
    void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override;

    void Text1_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void Text1_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void Text1_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void Text1_DblClick();
    // The Menu key or Shift+F10 in the text box.
    void Text1_ContextMenu();

  private:
    void showContextMenu(const toolkit::Control* at = nullptr);
    void showContextMenuFromText1(const toolkit::Control* at);
    void keepOnScreen();
};
