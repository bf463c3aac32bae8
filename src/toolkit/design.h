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

} // namespace toolkit
