// The stored window rectangle against one or two monitors, including the
// values a damaged or hand-edited settings file can hold.
#include "placement_clamp.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

namespace mainframe {

void PrintTo(const Box& b, std::ostream* os) {
    *os << "{" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << "}";
}

namespace {

// 1024x768 with a 30-pixel taskbar at the bottom; a second monitor of
// 1280x1024 to the left of it, reaching above it.
const Box kPrimary{0, 0, 1024, 738};
const Box kLeft{-1280, -256, 0, 768};
// A primary with a taskbar of 40 and a taller monitor right of it.
const Box kWorkA{0, 0, 1024, 728};
const Box kWorkB{1024, 0, 2304, 1024};

struct Case {
    const char* name;
    Box stored;
    std::vector<Box> areas;
    Box expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class PlacementClamp : public testing::TestWithParam<Case> {};

TEST_P(PlacementClamp, KeepsTheCaptionOnAWorkArea) {
    const Case& c = GetParam();
    EXPECT_EQ(ClampPlacement(c.stored, c.areas), c.expected);
}

// Defaults: minimum 320x240, default 760x540, caption band 24.
const Case kCases[] = {
    {"inside: unchanged", {120, 90, 620, 470}, {kPrimary}, {120, 90, 620, 470}},
    {"on the left monitor at negative coordinates: unchanged", {-1000, -200, -300, 300}, {kPrimary, kLeft},
     {-1000, -200, -300, 300}},
    {"all INT_MIN: default size at the work area's corner", {INT_MIN, INT_MIN, INT_MIN, INT_MIN}, {kPrimary},
     {0, 0, 760, 540}},
    {"INT_MIN corner of a huge window: the work area's size", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {kPrimary},
     {0, 0, 1024, 738}},
    {"all INT_MAX", {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {kPrimary}, {264, 714, 1024, 1254}},
    {"caption above the screen: moved down", {-700, -500, 300, 200}, {kPrimary}, {0, 0, 1000, 700}},
    {"caption below the work area: moved up to show it", {100, 900, 600, 1300}, {kPrimary},
     {100, 714, 600, 1114}},
    {"off to the right: pulled back whole", {900, 100, 1400, 500}, {kPrimary}, {524, 100, 1024, 500}},
    {"inverted: default size where it was", {600, 400, 100, 100}, {kPrimary}, {264, 400, 1024, 940}},
    {"zero size: default size", {50, 60, 50, 60}, {kPrimary}, {50, 60, 810, 600}},
    {"too small: the minimum size", {10, 20, 126, 47}, {kPrimary}, {10, 20, 330, 260}},
    {"a monitor no longer there: the nearest one", {-3000, 100, -2500, 500}, {kPrimary, kLeft},
     {-1280, 100, -780, 500}},
    {"mostly on the left monitor: stays there", {-200, 100, 100, 400}, {kPrimary, kLeft},
     {-320, 100, 0, 400}},
    {"no monitors known: as stored", {INT_MIN, 5, 7, 9}, {}, {INT_MIN, 5, 7, 9}},
    {"no width: default size", {100, 100, 100, 400}, {kPrimary}, {100, 100, 860, 640}},
    {"no height: default size", {100, 100, 400, 100}, {kPrimary}, {100, 100, 860, 640}},
    {"one pixel wide: the minimum width", {100, 100, 101, 400}, {kPrimary}, {100, 100, 420, 400}},
    {"one pixel high: the minimum height", {100, 100, 400, 101}, {kPrimary}, {100, 100, 420, 340}},
    {"an empty work area: one pixel of it", {10, 10, 500, 500}, {{0, 0, 0, 0}}, {0, 0, 1, 1}},
    // The monitor chosen: the one the window overlaps most, the first listed
    // of those it overlaps as much, a single pixel counting as overlap.
    {"below one work area, partly beside it on another", {100, 750, 1100, 900}, {kWorkA, kWorkB},
     {1024, 750, 2024, 990}},
    {"as much on both: the first listed", {824, 100, 1224, 500}, {kWorkA, kWorkB}, {624, 100, 1024, 500}},
    {"mostly on the first", {100, 100, 1100, 600}, {kWorkA, kWorkB}, {24, 100, 1024, 600}},
    {"one pixel on a work area", {1023, 727, 1783, 1267}, {kWorkA, {1300, 0, 1500, 727}}, {264, 704, 1024, 1244}},
    // On no monitor: the nearest to the caption's middle, measured to the
    // nearest point of each work area, not to its corner.
    {"above the right end of a wide monitor", {2800, -2000, 3560, -1460}, {kWorkA, {0, 728, 3000, 1500}},
     {2240, 728, 3000, 1268}},
    {"below a tall narrow monitor", {-130, 3488, 630, 4028}, {{0, 0, 500, 3000}, {600, 2600, 1600, 2700}},
     {0, 2976, 500, 3516}},
};

INSTANTIATE_TEST_SUITE_P(Table, PlacementClamp, testing::ValuesIn(kCases));

}  // namespace
}  // namespace mainframe
