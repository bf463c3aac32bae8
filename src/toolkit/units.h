#pragma once
#include <cmath>

namespace toolkit {

// Geometry is held in twips (1440 per inch); only peers turn it into device pixels.
inline int ToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}
inline float ToTwips(int pixels, double twipsPerPixel) {
    return static_cast<float>(pixels * twipsPerPixel);
}

} // namespace toolkit
