#include "placement.h"

#include "toolkit/units.h"

#include <algorithm>

using toolkit::Monitor;
using toolkit::Rect;

namespace {

// One axis of a rectangle, in double precision so that sums of floats stay exact.
struct Span {
    double from, to;
};
Span across(const Rect& r) {
    return {r.left, double(r.left) + r.width};
}
Span down(const Rect& r) {
    return {r.top, double(r.top) + r.height};
}

double overlap(Span a, Span b) {
    return std::max(0.0, std::min(a.to, b.to) - std::max(a.from, b.from));
}
double gap(Span a, Span b) {
    return std::max({0.0, b.from - a.to, a.from - b.to});
}
// The start nearest to `a`'s that puts it inside `b`; `b`'s own start when `a` is the longer.
double inside(Span a, Span b) {
    const double length = a.to - a.from;
    return length >= b.to - b.from ? b.from : std::clamp(a.from, b.from, b.to - length);
}

constexpr int kGripPixels = 20;

} // namespace

bool WithinReach(const Rect& window, const Rect& grip, const std::vector<Monitor>& screens,
                 double twipsPerPixel) {
    // The part of the grip that shows: the window clips it.
    const double left = double(window.left) + grip.left, top = double(window.top) + grip.top;
    const Span x{std::max(left, across(window).from),
                 std::min(left + grip.width, across(window).to)};
    const Span y{std::max(top, down(window).from), std::min(top + grip.height, down(window).to)};
    // Counted in whole pixels, as the window is drawn.
    return std::any_of(screens.begin(), screens.end(), [&](const Monitor& s) {
        return toolkit::ToPixels(overlap(x, across(s.work)), twipsPerPixel) >= kGripPixels &&
               toolkit::ToPixels(overlap(y, down(s.work)), twipsPerPixel) >= kGripPixels;
    });
}

Place InsideWorkArea(const Rect& window, const std::vector<Monitor>& screens) {
    std::optional<Place> best;
    double bestGap = 0, bestTravel = 0;
    for (const Monitor& s : screens) {
        const Place p{float(inside(across(window), across(s.work))),
                      float(inside(down(window), down(s.work)))};
        const double dx = gap(across(window), across(s.work)), dy = gap(down(window), down(s.work));
        const double tx = double(p.left) - window.left, ty = double(p.top) - window.top;
        // Nearest by the distance between window and work area; of two equally near, the one
        // that moves the window least; the earlier screen after that.
        const double g = dx * dx + dy * dy, travel = tx * tx + ty * ty;
        if (!best || g < bestGap || (g == bestGap && travel < bestTravel)) {
            best = p;
            bestGap = g;
            bestTravel = travel;
        }
    }
    return best.value_or(Place{window.left, window.top});
}

std::optional<Place> BroughtWithinReach(const Rect& window, const Rect& grip,
                                        const std::vector<Monitor>& screens, double twipsPerPixel) {
    if (WithinReach(window, grip, screens, twipsPerPixel))
        return std::nullopt;
    const Place p = InsideWorkArea(window, screens);
    if (p == Place{window.left, window.top})
        return std::nullopt;
    return p;
}
