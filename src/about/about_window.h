#pragma once
// The About window: the maker's credits, links to web pages, and the change log.
#include "toolkit/control.h"
#include "toolkit/window.h"

class 关于 : public toolkit::Window {
  public:
    关于();

    // In tab order; the frame comes before the labels it holds.
    toolkit::Label Label1, Label2;
    toolkit::Frame Frame1;
    toolkit::PictureBox Picture1;
    toolkit::Label Label3, Label4, Label5, Label6;
    toolkit::TextBox ts;
    toolkit::Label Label7, Label8;

    // Puts the change log into ts.
    void SetTs();

    void Form_Load() override;
    void Label4_Click();
    void Label5_Click();
    void Label6_Click();
    void Label7_Click();
    void Label8_Click();
};
