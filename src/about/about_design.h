#pragma once
// Design values of the About window, in twips.
#include "toolkit/design.h"

namespace about_design {

using toolkit::At;
using toolkit::LabelAt;

inline toolkit::WindowDesign Window() {
    toolkit::WindowDesign d;
    d.caption = "关于作者";
    d.border = toolkit::BorderStyle::FixedSingle;
    d.showInTaskbar = true;
    d.clientWidth = 6465;
    d.clientHeight = 6780;
    d.centreOnShow = true;
    d.escapeCloses = true;
    return d;
}

inline toolkit::ControlDesign Grey(toolkit::ControlDesign d) {
    d.foreColor = 0x808080;
    return d;
}

// A label that looks like a link: blue, underlined, 9-point 宋体.
inline toolkit::ControlDesign Link(float left, float top, float width, float height,
                                   const std::string& text) {
    toolkit::ControlDesign d = At(left, top, width, height, text);
    toolkit::Font f;
    f.Name = "宋体";
    f.Size = 9;
    f.Weight = 400;
    f.Underline = true;
    f.Charset = 134;
    d.font = f;
    d.foreColor = 0xFF0000;
    d.link = true;
    return d;
}

inline toolkit::ControlDesign Picture1() {
    toolkit::ControlDesign d = At(4920, 0, 1395, 1365);
    d.picture = "about.png";
    d.border = true;
    return d;
}

inline toolkit::ControlDesign ChangeLog() {
    toolkit::ControlDesign d = At(120, 4560, 6255, 2295, "ts");
    d.multiLine = true;
    d.verticalScrollBar = true;
    d.accessibleName = "更新日志";
    return d;
}

} // namespace about_design
