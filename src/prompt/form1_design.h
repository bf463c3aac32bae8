#pragma once
// Design values of the prompt window and its text box, in twips.
#include "toolkit/peers.h"

namespace form1_design {

inline toolkit::WindowDesign Window() {
    toolkit::WindowDesign d;
    d.caption = "Kelm屏幕提示框";
    d.border = toolkit::BorderStyle::None;
    d.showInTaskbar = false;
    d.clientWidth = 4515;
    d.clientHeight = 705;
    d.backColor = 0x404040;
    // Smaller, the window could no longer be seen or grabbed, and would be saved so at exit.
    d.minimumPixels = 10;
    return d;
}

inline toolkit::ControlDesign Text1() {
    toolkit::ControlDesign d;
    d.kind = toolkit::ControlKind::TextBox;
    d.left = 0;
    d.top = 105;
    d.width = 4495;
    d.height = 495;
    d.text = "Text1";
    toolkit::Font f;
    f.Name = "微软雅黑";
    f.Size = 14.25;
    f.Bold = true;
    f.Weight = 700;
    f.Charset = 134;
    d.font = f;
    d.foreColor = 0xFFFFFF;
    d.backColor = 0x404040;
    d.toolTip = "双击可以清空内容.右边边可以调整文本宽度";
    d.centred = true;
    // A borderless box blends into the window surface around it.
    d.border = false;
    d.accessibleName = "提示文本";
    return d;
}

} // namespace form1_design
