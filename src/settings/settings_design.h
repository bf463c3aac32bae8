#pragma once
// Design values of the settings window, in twips.
#include "toolkit/design.h"

namespace settings_design {

using toolkit::At;
using toolkit::LabelAt;

inline toolkit::WindowDesign Window() {
    toolkit::WindowDesign d;
    d.caption = "参数设置";
    d.border = toolkit::BorderStyle::FixedDialog;
    d.showInTaskbar = false;
    d.clientWidth = 3765;
    d.clientHeight = 3075;
    d.centreOnShow = true;
    d.escapeCloses = true;
    return d;
}

inline toolkit::ControlDesign Line1() {
    toolkit::ControlDesign d = At(120, 1560, 3600, 1560);
    d.backColor = 0xC0C0C0;
    return d;
}

} // namespace settings_design
