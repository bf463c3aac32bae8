#pragma once
// Shorthands for the design data of the windows: a control's place and size in twips.
#include "peers.h"

#include <string>

namespace toolkit {

inline ControlDesign At(float left, float top, float width, float height,
                        const std::string& text = {}) {
    ControlDesign d;
    d.left = left;
    d.top = top;
    d.width = width;
    d.height = height;
    d.text = text;
    return d;
}

// A label that sizes itself to its caption.
inline ControlDesign LabelAt(float left, float top, float width, float height,
                             const std::string& text) {
    ControlDesign d = At(left, top, width, height, text);
    d.autoSize = true;
    return d;
}

// A control whose caption does not say what it is for, with a name that does.
inline ControlDesign Named(ControlDesign d, const std::string& accessibleName) {
    d.accessibleName = accessibleName;
    return d;
}

} // namespace toolkit
