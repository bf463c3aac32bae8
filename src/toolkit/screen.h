#pragma once
#include "realisation.h"

namespace toolkit {

struct Screen {
    // The primary screen's width in twips.
    static float Width() { return CurrentRealisation().screens().front().width; }
};

} // namespace toolkit
