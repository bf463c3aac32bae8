#pragma once
// The values a window or control refuses with "无效的属性值".
#include "errors.h"

#include <cmath>
#include <cstdint>

namespace toolkit {

inline int32_t CheckedColor(int64_t color) {
    if (color < 0 || color > 0xFFFFFF)
        throw RuntimeError(kInvalidPropertyValue);
    return static_cast<int32_t>(color);
}

// Font sizes are fixed point with four decimals; a size the window cannot draw is refused.
inline double CheckedFontSize(double points) {
    if (!std::isfinite(points) || points <= 0 || points > 2048)
        throw RuntimeError(kInvalidPropertyValue);
    const double fixed = std::nearbyint(points * 10000.0) / 10000.0;
    if (fixed <= 0)
        throw RuntimeError(kInvalidPropertyValue);
    return fixed;
}

} // namespace toolkit
