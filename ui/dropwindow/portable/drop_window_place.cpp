#include "drop_window_place.h"

#include <algorithm>
#include <limits>

namespace dropwindow {

namespace {

// How far `point` lies outside `area` (0 inside), squared, without overflow
// for any stored value.
double DistanceSquared(Spot point, const mainframe::Box& area) {
    const double dx = point.x < area.left ? double(area.left - point.x) : point.x > area.right ? double(point.x - area.right) : 0.0;
    const double dy = point.y < area.top ? double(area.top - point.y) : point.y > area.bottom ? double(point.y - area.bottom) : 0.0;
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
