// Where the main window comes back: the normal rectangle stored in the
// settings is made reachable before it is used. The settings file may hold
// anything (INT_MIN, a rectangle of a monitor no longer there, an inverted or
// empty one); the window must still open with its caption on a screen.
#pragma once

#include <cstdint>
#include <span>

namespace mainframe {

// A rectangle in 64 bits, so that no value read from a file overflows.
struct Box {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    std::int64_t Width() const { return right - left; }
    std::int64_t Height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

struct PlacementLimits {
    int minWidth = 320;
    int minHeight = 240;
    // The size of a window whose stored rectangle is empty or inverted.
    int defaultWidth = 760;
    int defaultHeight = 540;
    // The height of the band at the top that must lie on a work area.
    int captionHeight = 24;
};

// The rectangle to give the window, in the coordinates of `workAreas` (one
// per monitor). The work area that overlaps the rectangle most (the nearest
// one when none overlaps) is chosen; the size is kept between the minimum
// and that work area's size (the default size when the stored one is empty
// or inverted); the rectangle is then moved as little as needed for its
// whole width and its caption band to lie on that work area. A rectangle
// already reachable is returned unchanged, on whichever monitor it is, at
// negative coordinates too. Without work areas the rectangle is returned as
// it is.
Box ClampPlacement(const Box& stored, std::span<const Box> workAreas, const PlacementLimits& limits = {});

}  // namespace mainframe
