// The layout string read back: the program's own strings, and what a user
// editing the settings file may leave in it.
#include "toolbar_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using toolbar::FormatLayout;
using toolbar::ParseLayout;

struct LayoutCase {
    const char* text;
    int textOption;
    int iconOption;
    std::vector<std::int64_t> buttons;
};

class LayoutStrings : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutStrings, ReadAsTheToolbarUsesThem) {
    const LayoutCase& c = GetParam();
    const toolbar::ToolbarLayout layout = ParseLayout(c.text);
    EXPECT_EQ(layout.textOption, c.textOption);
    EXPECT_EQ(layout.iconOption, c.iconOption);
    EXPECT_EQ(layout.buttons, c.buttons);
}

constexpr std::int64_t kHuge = INT64_MAX / 16;

INSTANTIATE_TEST_SUITE_P(
    Table, LayoutStrings,
    testing::Values(
        LayoutCase{"0,1,32770,32820,32795,0,32805,32825,32815,0,32855,32870,0,32800,32940,0,57664", 0, 1,
                   {32770, 32820, 32795, 0, 32805, 32825, 32815, 0, 32855, 32870, 0, 32800, 32940, 0, 57664}},
        LayoutCase{"2,0,32805,99999,0,57664", 2, 0, {32805, 99999, 0, 57664}},
        // Missing options take the defaults.
        LayoutCase{"", 0, 1, {}}, LayoutCase{"1", 1, 1, {}}, LayoutCase{"2,0", 2, 0, {}},
        // Empty and non-numeric pieces read as 0; trailing junk is ignored;
        // blanks and a sign before the digits are read.
        LayoutCase{",,,x,", 0, 0, {0, 0, 0}}, LayoutCase{"1,0,32805abc, 32815,+57664,-7", 1, 0, {32805, 32815, 57664, -7}},
        LayoutCase{"abc,def,32805", 0, 0, {32805}},
        LayoutCase{" \t\n\v\f\r2,\r0,\f\r32805", 2, 0, {32805}},
        // Options out of range take the defaults.
        LayoutCase{"3,2,32805", 0, 1, {32805}}, LayoutCase{"-1,-1", 0, 1, {}},
        LayoutCase{"4294967296,4294967297,0", 0, 1, {0}},
        // Overflowing pieces stay out of every button's range, whatever their
        // low bits would have been.
        LayoutCase{"0,1,4294999573,99999999999999999999999999999,-99999999999999999999", 0, 1,
                   {4294999573LL, kHuge, -kHuge}}));

TEST(LayoutString, StopsAfterAThousandButtonsOfAHugeValue) {
    std::string text = "1,0";
    for (int i = 0; i < 100000; ++i) text += i % 2 ? ",0" : ",32805";
    const toolbar::ToolbarLayout layout = ParseLayout(text);
    EXPECT_EQ(layout.textOption, 1);
    EXPECT_EQ(layout.iconOption, 0);
    ASSERT_EQ(layout.buttons.size(), toolbar::kMaxLayoutButtons);
    EXPECT_EQ(layout.buttons.front(), 32805);
    EXPECT_EQ(layout.buttons.back(), 0);
}

TEST(LayoutString, WrittenTheWayItIsRead) {
    const std::vector<int> commands{32910, 32915, 0, 32770, 57664};
    const std::string text = FormatLayout(2, 0, commands);
    EXPECT_EQ(text, "2,0,32910,32915,0,32770,57664");
    EXPECT_EQ(FormatLayout(0, 1, {}), "0,1");
    const toolbar::ToolbarLayout layout = ParseLayout(text);
    EXPECT_EQ(layout.textOption, 2);
    EXPECT_EQ(layout.iconOption, 0);
    EXPECT_EQ(layout.buttons, (std::vector<std::int64_t>{32910, 32915, 0, 32770, 57664}));
}

}  // namespace
