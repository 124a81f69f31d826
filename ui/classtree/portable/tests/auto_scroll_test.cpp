#include "auto_scroll.h"

#include <gtest/gtest.h>

namespace {

TEST(AutoScroll, StepShrinksEveryTwentyPixelsDownToEveryTick) {
    struct Case {
        int depth;
        int step;
    };
    const Case cases[] = {{0, 6}, {19, 6}, {20, 5}, {39, 5}, {40, 4}, {80, 2}, {100, 1}, {105, 1}, {1000, 1}};
    for (const Case& c : cases) EXPECT_EQ(classtree::ScrollStep(c.depth), c.step) << c.depth;
}

TEST(AutoScroll, ScrollsOnMultiplesOfTheStep) {
    // 5 pixels inside the edge (depth 5): every sixth 40 ms tick, 240 ms.
    int scrolls = 0;
    for (int tick = 1; tick <= 12; ++tick) scrolls += classtree::ScrollsOnTick(tick, 5) ? 1 : 0;
    EXPECT_EQ(scrolls, 2);
    EXPECT_TRUE(classtree::ScrollsOnTick(6, 5));
    EXPECT_FALSE(classtree::ScrollsOnTick(5, 5));
    // 95 pixels beyond the edge (depth 105): every tick.
    for (int tick = 1; tick <= 5; ++tick) EXPECT_TRUE(classtree::ScrollsOnTick(tick, 105)) << tick;
}

TEST(AutoScroll, ZonesLieStrictlyBesideOneEdge) {
    // Client rectangle 100..300 across, 50..250 down.
    struct Case {
        int x, y, zone;
    };
    const Case cases[] = {
        {200, 40, 1}, {200, 260, 2}, {90, 150, 3}, {310, 150, 4},
        {200, 150, 0},  // inside
        {90, 40, 0},    // a corner
        {100, 40, 0},   // on the left edge's line
        {310, 250, 0},  // on the bottom edge's line
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classtree::EdgeZone(c.x, c.y, 100, 50, 300, 250), c.zone) << c.x << "," << c.y;
    }
}

}  // namespace
