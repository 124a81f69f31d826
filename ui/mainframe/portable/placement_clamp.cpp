#include "placement_clamp.h"

#include <algorithm>

namespace mainframe {
namespace {

std::int64_t Overlap(const Box& a, const Box& b) {
    const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    if (w <= 0 || h <= 0) return 0;
    // Both are at most 2^33 here; their product stays far from overflow.
    return w * h;
}

// Distance (squared, in floating point: coordinates may be near 2^31) from a
// point to the nearest point of a box.
double DistanceSquared(std::int64_t x, std::int64_t y, const Box& box) {
    const double dx = static_cast<double>(x - std::clamp(x, box.left, std::max(box.left, box.right)));
    const double dy = static_cast<double>(y - std::clamp(y, box.top, std::max(box.top, box.bottom)));
    return dx * dx + dy * dy;
}

const Box& ChosenArea(const Box& window, std::span<const Box> areas, int captionHeight) {
    const Box* best = &areas.front();
    std::int64_t bestOverlap = 0;
    for (const Box& area : areas) {
        const std::int64_t overlap = Overlap(window, area);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &area;
        }
    }
    if (bestOverlap > 0) return *best;
    // On no monitor: the one nearest to the middle of the caption.
    const std::int64_t x = window.left + window.Width() / 2;
    const std::int64_t y = window.top + captionHeight / 2;
    double bestDistance = DistanceSquared(x, y, *best);
    for (const Box& area : areas) {
        const double distance = DistanceSquared(x, y, area);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &area;
        }
    }
    return *best;
}

}  // namespace

Box ClampPlacement(const Box& stored, std::span<const Box> workAreas, const PlacementLimits& limits) {
    if (workAreas.empty()) return stored;
    Box window = stored;
    if (window.Width() <= 0 || window.Height() <= 0) {
        window.right = window.left + limits.defaultWidth;
        window.bottom = window.top + limits.defaultHeight;
    }
    const Box& area = ChosenArea(window, workAreas, limits.captionHeight);
    const std::int64_t areaWidth = std::max<std::int64_t>(area.Width(), 1);
    const std::int64_t areaHeight = std::max<std::int64_t>(area.Height(), 1);
    const std::int64_t width = std::min(std::max<std::int64_t>(window.Width(), limits.minWidth), areaWidth);
    const std::int64_t height = std::min(std::max<std::int64_t>(window.Height(), limits.minHeight), areaHeight);
    const std::int64_t caption = std::min<std::int64_t>(limits.captionHeight, areaHeight);

    Box result;
    result.left = std::clamp(window.left, area.left, area.left + areaWidth - width);
    result.top = std::clamp(window.top, area.top, area.top + areaHeight - caption);
    result.right = result.left + width;
    result.bottom = result.top + height;
    return result;
}

}  // namespace mainframe
