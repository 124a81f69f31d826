#include "option_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace settings;

TEST(OptionRules, ClicksChangeOnlyEnabledItems) {
    const struct {
        int image;
        ClickEffect effect;
        bool checked;
    } cases[] = {
        {kCheckOff, ClickEffect::kToggleCheck, false},
        {kCheckOn, ClickEffect::kToggleCheck, true},
        {kRadioOff, ClickEffect::kSelectRadio, false},
        {kRadioOn, ClickEffect::kNone, false},
        {kCheckOffDisabled, ClickEffect::kNone, false},
        {kCheckOnDisabled, ClickEffect::kNone, true},
        {kRadioOffDisabled, ClickEffect::kNone, false},
        {kRadioOnDisabled, ClickEffect::kNone, false},
        {kGroupImage, ClickEffect::kNone, false},
        {-1, ClickEffect::kNone, false},
        {11, ClickEffect::kNone, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EffectOfClick(c.image), c.effect) << c.image;
        EXPECT_EQ(IsCheckedImage(c.image), c.checked) << c.image;
    }
}

TEST(OptionRules, EnablingKeepsTheCheckAndSiblingsOfARadioTurnUnchecked) {
    EXPECT_EQ(CheckImage(true, true), kCheckOn);
    EXPECT_EQ(CheckImage(true, false), kCheckOnDisabled);
    EXPECT_EQ(CheckImage(false, false), kCheckOffDisabled);
    EXPECT_EQ(CheckImage(false, true), kCheckOff);
    EXPECT_EQ(DeselectedSiblingImage(kRadioOn), kRadioOff);
    EXPECT_EQ(DeselectedSiblingImage(kRadioOff), kRadioOff);
    EXPECT_EQ(DeselectedSiblingImage(kRadioOnDisabled), kRadioOffDisabled);
    EXPECT_EQ(DeselectedSiblingImage(kRadioOffDisabled), kRadioOffDisabled);
}

TEST(OptionRules, ValueCaptionKeepsAColonInTheLabel) {
    EXPECT_EQ(ValueCaption("检查新版本的频率", "每天检查一次"), "检查新版本的频率: 每天检查一次");
    EXPECT_EQ(ValueCaption("Check: frequency", "Daily"), "Check: frequency: Daily");
    EXPECT_EQ(ValueCaption("Count", ""), "Count: ");
}

TEST(OptionRules, BannerStripesCoverTheShadedPartFadingToBlackAtTheLeft) {
    EXPECT_TRUE(BannerStripes(0).empty());
    EXPECT_TRUE(BannerStripes(-3).empty());
    EXPECT_TRUE(BannerStripes(7).empty()) << "all of it is the plain part";

    for (int width : {8, 13, 127, 128, 300, 466, 700, 1000}) {
        const auto stripes = BannerStripes(width);
        ASSERT_FALSE(stripes.empty()) << width;
        const int expectedWidth = std::max(1, width / 128);
        const int shaded = width - width % 8;
        // Right to left, without gaps or overlaps, over [0, shaded).
        int right = shaded;
        double previous = 2.0;
        for (const BannerStripe& s : stripes) {
            EXPECT_EQ(s.left + s.width, right) << width;
            EXPECT_GT(s.width, 0);
            EXPECT_LE(s.width, expectedWidth);
            EXPECT_LT(s.shade, previous) << width << " fades towards the left";
            previous = s.shade;
            right = s.left;
        }
        EXPECT_EQ(right, 0) << width;
        EXPECT_GT(stripes.front().shade, 0.9) << width;
        EXPECT_LT(stripes.back().shade, 0.1) << width;
    }
    // Quadratic: the middle of a wide banner is a quarter of the way.
    const auto stripes = BannerStripes(1024);
    EXPECT_EQ(stripes.size(), 1024u / 8u);
    const BannerStripe& middle = stripes[stripes.size() / 2];
    EXPECT_NEAR(middle.shade, 0.25, 0.02);
    EXPECT_EQ(ShadeChannel(200, 0.25), 50);
    EXPECT_EQ(ShadeChannel(200, 1.0), 200);
    EXPECT_EQ(ShadeChannel(200, 0.0), 0);
    EXPECT_EQ(ShadeChannel(200, 7.0), 200);
}

TEST(OptionRules, AfterADeleteTheRowAtThePlaceOrTheLastIsSelected) {
    EXPECT_EQ(RowAfterDelete(0, 3), 0);
    EXPECT_EQ(RowAfterDelete(2, 3), 2);
    EXPECT_EQ(RowAfterDelete(3, 3), 2) << "the last row went";
    EXPECT_EQ(RowAfterDelete(0, 0), -1);
    EXPECT_EQ(RowAfterDelete(0, 1), 0) << "one row left";
    EXPECT_EQ(RowAfterDelete(1, 1), 0);
}

}  // namespace
