#include "drop_window_place.h"

#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
