#include "drop_window_place.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace dropwindow {
void PrintTo(const Spot& s, std::ostream* os) { *os << "(" << s.x << ", " << s.y << ")"; }
}  // namespace dropwindow

namespace {

using dropwindow::PlaceDropWindow;
using dropwindow::Spot;
using mainframe::Box;

constexpr Spot kIcon{32, 32};
constexpr Spot kSize{32, 32};
// The primary monitor with a taskbar of 40 at the bottom, a second one to
// its right and a third one left of it.
const std::vector<Box> kPrimary{{0, 0, 1024, 728}};
const std::vector<Box> kThree{{0, 0, 1024, 728}, {1024, 0, 2304, 1024}, {-1280, 0, 0, 1024}};

TEST(DropWindowPlace, MinusOneStandsForZeroAndTheRightAndBottomEdgesAreKept) {
    EXPECT_EQ(PlaceDropWindow(-1, -1, kPrimary, kIcon, kSize), (Spot{0, 0}));
    EXPECT_EQ(PlaceDropWindow(500, 300, kPrimary, kIcon, kSize), (Spot{500, 300}));
    EXPECT_EQ(PlaceDropWindow(1024 - 32, 728 - 32, kPrimary, kIcon, kSize), (Spot{992, 696})) << "exactly at the limit";
    EXPECT_EQ(PlaceDropWindow(1000, 700, kPrimary, kIcon, kSize), (Spot{992, 696}));
    EXPECT_EQ(PlaceDropWindow(991, 695, kPrimary, kIcon, kSize), (Spot{991, 695})) << "one short of it stays";
}

TEST(DropWindowPlace, EachMonitorKeepsItsOwnPlaces) {
    EXPECT_EQ(PlaceDropWindow(2000, 900, kThree, kIcon, kSize), (Spot{2000, 900}))
        << "on the monitor right of the primary: not pulled back";
    EXPECT_EQ(PlaceDropWindow(2300, 1020, kThree, kIcon, kSize), (Spot{2272, 992})) << "that monitor's own edges";
    EXPECT_EQ(PlaceDropWindow(-600, 100, kThree, kIcon, kSize), (Spot{-600, 100}))
        << "a negative position on a real monitor stays";
}

TEST(DropWindowPlace, APositionOnNoMonitorComesOntoTheNearest) {
    EXPECT_EQ(PlaceDropWindow(-5000, -5000, kPrimary, kIcon, kSize), (Spot{0, 0}));
    EXPECT_EQ(PlaceDropWindow(-600, 100, kPrimary, kIcon, kSize), (Spot{0, 100})) << "its monitor is gone";
    EXPECT_EQ(PlaceDropWindow(5000, 300, kThree, kIcon, kSize), (Spot{2272, 300}));
    EXPECT_EQ(PlaceDropWindow(INT64_MIN / 4, INT64_MAX / 4, kThree, kIcon, kSize), (Spot{-1280, 992}))
        << "values from a damaged file";
}

struct PlaceCase {
    const char* what;
    std::int64_t x, y;
    Spot icon, size, want;
};

// A monitor's right and bottom edges are outside it: they are the first
// column and row of the monitor beyond.
TEST(DropWindowPlace, AnEdgeTwoMonitorsShareBelongsToTheFarOne) {
    const std::vector<Box> stacked{{0, 0, 1024, 768}, {0, 768, 1024, 1536}};
    const PlaceCase cases[] = {
        {"left edge of the right-hand monitor", 1024, 100, kIcon, kSize, {1024, 100}},
        {"last column of the primary", 1023, 100, kIcon, kSize, {992, 100}},
        {"first column of the primary", 0, 100, kIcon, kSize, {0, 100}},
        {"last column but one of the left-hand monitor (-1 stands for 0)", -2, 100, kIcon, kSize, {-32, 100}},
        {"right edge of the right-hand monitor, on no monitor", 2304, 100, kIcon, kSize, {2272, 100}},
    };
    for (const PlaceCase& c : cases)
        EXPECT_EQ(PlaceDropWindow(c.x, c.y, kThree, c.icon, c.size), c.want) << c.what;
    // Monitors a few pixels apart: a point in the gap goes to the nearer
    // monitor, and to the first listed (the primary) when both are as near.
    const std::vector<Box> gap2{{0, 0, 1024, 768}, {1026, 0, 2050, 768}};
    const std::vector<Box> gap9{{0, 0, 1024, 768}, {1033, 0, 2057, 768}};
    EXPECT_EQ(PlaceDropWindow(1025, 100, gap2, kIcon, kSize), (Spot{1025, 100})) << "one column from the second";
    EXPECT_EQ(PlaceDropWindow(1024, 100, gap2, kIcon, kSize), (Spot{992, 100})) << "one column from the first";
    EXPECT_EQ(PlaceDropWindow(1028, 100, gap9, kIcon, kSize), (Spot{992, 100})) << "midway";
    EXPECT_EQ(PlaceDropWindow(1029, 100, gap9, kIcon, kSize), (Spot{1029, 100})) << "past the middle";
    EXPECT_EQ(PlaceDropWindow(100, 768, stacked, kIcon, kSize), (Spot{100, 768})) << "top edge of the lower monitor";
    EXPECT_EQ(PlaceDropWindow(100, 767, stacked, kIcon, kSize), (Spot{100, 736})) << "last row of the upper one";
}

// The margin kept from the right and bottom edges is the icon size; whether
// the window still lies on a monitor is judged with the window's own size.
TEST(DropWindowPlace, TheIconSizeKeepsTheEdgesAndTheWindowSizeDecidesWhetherItIsOnAMonitor) {
    const PlaceCase cases[] = {
        {"large icons", 1000, 700, {48, 40}, kSize, {976, 688}},
        {"small icons", 1000, 700, {16, 16}, kSize, {1000, 700}},
        {"small icons, beyond the edge", 1020, 720, {16, 16}, kSize, {1008, 712}},
        {"a large window is clamped by the icon alone", 1000, 700, kIcon, {64, 64}, {992, 696}},
        {"a wide window left of the screen still reaches it", -20, 100, {16, 16}, {32, 32}, {-20, 100}},
        {"a narrow one does not", -20, 100, {32, 32}, {16, 16}, {0, 100}},
        {"a tall window above the screen still reaches it", 100, -20, {16, 16}, {32, 32}, {100, -20}},
        {"a short one does not", 100, -20, {32, 32}, {16, 16}, {100, 0}},
        {"touching the left edge is not on it", -32, 100, kIcon, kSize, {0, 100}},
        {"touching the top edge is not on it", 100, -32, kIcon, kSize, {100, 0}},
        {"one pixel over the left edge is on it", -31, 100, kIcon, kSize, {-31, 100}},
    };
    for (const PlaceCase& c : cases)
        EXPECT_EQ(PlaceDropWindow(c.x, c.y, kPrimary, c.icon, c.size), c.want) << c.what;
}

TEST(DropWindowPlace, WithoutWorkAreasOnlyMinusOneIsReplaced) {
    EXPECT_EQ(PlaceDropWindow(-1, -1, {}, kIcon, kSize), (Spot{0, 0}));
    EXPECT_EQ(PlaceDropWindow(-2, 5000, {}, kIcon, kSize), (Spot{-2, 5000}));
    EXPECT_EQ(PlaceDropWindow(-1, 7, kPrimary, kIcon, kSize), (Spot{0, 7}));
    EXPECT_EQ(PlaceDropWindow(7, -1, kPrimary, kIcon, kSize), (Spot{7, 0}));
}

}  // namespace
