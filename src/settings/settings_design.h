#pragma once
// Design values of the settings window, in twips.
#include "toolkit/peers.h"

namespace settings_design {

inline toolkit::WindowDesign Window() {
    toolkit::WindowDesign d;
    d.caption = "参数设置";
    d.border = toolkit::BorderStyle::FixedDialog;
    d.showInTaskbar = false;
    d.clientWidth = 3765;
    d.clientHeight = 3075;
    d.centreOnShow = true;
    return d;
}

inline toolkit::ControlDesign At(float left, float top, float width, float height,
                                 const char* text = "") {
    toolkit::ControlDesign d;
    d.left = left;
    d.top = top;
    d.width = width;
    d.height = height;
    d.text = text;
    return d;
}

inline toolkit::ControlDesign LabelAt(float left, float top, float width, float height,
                                      const char* text) {
    toolkit::ControlDesign d = At(left, top, width, height, text);
    d.autoSize = true;
    return d;
}

inline toolkit::ControlDesign Line1() {
    toolkit::ControlDesign d = At(120, 1560, 3600, 1560);
    d.backColor = 0xC0C0C0;
    return d;
}

} // namespace settings_design
