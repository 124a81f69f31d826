// Where the floating drop window opens: the stored left and top (-1 stands
// for 0), kept off the right and bottom edges of the work area of the
// monitor nearest that point, and brought onto that work area when it would
// lie on no monitor at all (a monitor since removed). A position on a real
// monitor left of or above the primary one stays negative.
#pragma once

#include "placement_clamp.h"

#include <cstdint>
#include <span>

namespace dropwindow {

struct Spot {
    std::int64_t x = 0, y = 0;
    bool operator==(const Spot&) const = default;
};

// `workAreas`: one per monitor. `icon`: the system's icon size, the margin
// kept from the right and bottom edges. `size`: the window's.
Spot PlaceDropWindow(std::int64_t storedX, std::int64_t storedY, std::span<const mainframe::Box> workAreas,
                     Spot icon, Spot size);

}  // namespace dropwindow
