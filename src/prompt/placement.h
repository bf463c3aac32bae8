#pragma once
// Where a window must go so that the user can reach it. Pure arithmetic on twips: no toolkit.
#include "toolkit/realisation.h"

#include <optional>
#include <vector>

struct Place {
    float left = 0, top = 0; // twips
    bool operator==(const Place&) const = default;
};

// Whether the user can grab the window: at least 20 × 20 pixels of its grip (the text box, in the
// window's own coordinates; the window clips it) lie in the work area of one screen.
bool WithinReach(const toolkit::Rect& window, const toolkit::Rect& grip,
                 const std::vector<toolkit::Monitor>& screens, double twipsPerPixel);

// The place, nearest to the window's own, that puts it wholly inside the work area of the screen
// nearest to it, its size kept; a window larger than the work area starts at its top or left.
// A window already inside a work area keeps its place.
Place InsideWorkArea(const toolkit::Rect& window, const std::vector<toolkit::Monitor>& screens);

// Where a window out of reach goes; nothing when it is within reach where it is.
std::optional<Place> BroughtWithinReach(const toolkit::Rect& window, const toolkit::Rect& grip,
                                        const std::vector<toolkit::Monitor>& screens,
                                        double twipsPerPixel);
