// Timing of the tree's edge scrolling while something is dragged over it.
#pragma once

namespace classtree {

// How many ticks pass between two scroll steps when the cursor is `depth`
// pixels beyond the line that starts the scrolling: every sixth tick at the
// line, one tick sooner for every further 20 pixels, at most every tick.
inline int ScrollStep(int depth) {
    const int step = 6 - depth / 20;
    return step < 1 ? 1 : step;
}

// Whether tick number `counter` scrolls at `depth`.
inline bool ScrollsOnTick(int counter, int depth) { return counter % ScrollStep(depth) == 0; }

// Where the cursor lies for the edge scrolling of an OLE drag: 1 above the
// client rectangle, 2 below, 3 left, 4 right (strictly between the other two
// edges); 0 inside or in a corner.
inline int EdgeZone(int x, int y, int left, int top, int right, int bottom) {
    const bool acrossX = left < x && x < right;
    const bool acrossY = top < y && y < bottom;
    if (y < top && acrossX) return 1;
    if (y > bottom && acrossX) return 2;
    if (x < left && acrossY) return 3;
    if (x > right && acrossY) return 4;
    return 0;
}

}  // namespace classtree
