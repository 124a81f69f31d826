#include "drop_window_place.h"

#include <algorithm>
#include <limits>

namespace dropwindow {

namespace {

// How far `low..high` (high excluded) is from `v` along one axis: 0 inside.
double AxisDistance(std::int64_t v, std::int64_t low, std::int64_t high) {
    if (v < low) return double(low) - double(v);
    if (v >= high) return double(v) - double(high) + 1.0;
    return 0.0;
}

// How far `point` lies outside `area` (0 inside), squared, without overflow
// for any stored value. The right and bottom edges belong to the next monitor,
// not to this one: a point on the edge two monitors share is on the one to
// the right of (or below) it.
double DistanceSquared(Spot point, const mainframe::Box& area) {
    const double dx = AxisDistance(point.x, area.left, area.right);
    const double dy = AxisDistance(point.y, area.top, area.bottom);
    return dx * dx + dy * dy;
}

bool Overlaps(const mainframe::Box& a, const mainframe::Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

Spot PlaceDropWindow(std::int64_t storedX, std::int64_t storedY, std::span<const mainframe::Box> workAreas,
                     Spot icon, Spot size) {
    Spot at{storedX == -1 ? 0 : storedX, storedY == -1 ? 0 : storedY};
    if (workAreas.empty()) return at;
    const mainframe::Box* nearest = &workAreas.front();
    double best = std::numeric_limits<double>::max();
    for (const mainframe::Box& area : workAreas) {
        const double d = DistanceSquared(at, area);
        if (d < best) {
            best = d;
            nearest = &area;
        }
    }
    at.x = std::min(at.x, nearest->right - icon.x);
    at.y = std::min(at.y, nearest->bottom - icon.y);
    const mainframe::Box window{at.x, at.y, at.x + size.x, at.y + size.y};
    const bool onAMonitor =
        std::any_of(workAreas.begin(), workAreas.end(), [&](const mainframe::Box& area) { return Overlaps(window, area); });
    if (!onAMonitor) {
        at.x = std::max(at.x, nearest->left);
        at.y = std::max(at.y, nearest->top);
    }
    return at;
}

}  // namespace dropwindow
