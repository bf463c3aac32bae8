#pragma once
// The settings window: six editable lists for the prompt window's appearance, and the context
// menu that the prompt window pops up.
#include "toolkit/control.h"
#include "toolkit/menu.h"
#include "toolkit/window.h"

class 设置 : public toolkit::Window {
  public:
    设置();

    // In tab order.
    toolkit::Label Label1, Label2;
    toolkit::ComboBox FSize;
    toolkit::Label Label3, Label4;
    toolkit::ComboBox FName, FColor, BColor;
    toolkit::CommandButton Command1, Command2, Command3, Command4, Command5, Command6;
    toolkit::ComboBox mHeight;
    toolkit::Label Label5, Label6;
    toolkit::ComboBox Trans;
    toolkit::Line Line1;
    toolkit::Menu Rightmenu;

    // Appends the preset entries to the six lists.
    void LoadParameter();

    void Form_Load() override;
    void Trans_Change();

    void Command1_Click(); // 确认: applies and saves the six values
    void Command2_Click(); // 获取: the font dialog
    void Command3_Click(); // …: the colour dialog for the text
    void Command4_Click(); // 关闭
    void Command5_Click(); // …: the colour dialog for the background
    void Command6_Click(); // 默认值

    void 参数设置_Click();
    void 关于作者_Click();
    void 退出_Click();
};
