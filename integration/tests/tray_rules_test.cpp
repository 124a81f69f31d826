#include "tray_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "链" in GBK: a lead byte and a trail byte.
const std::string kWide = "\xC1\xB4";

TEST(TrayTip, FitsTheFieldAndIsCutBetweenCharacters) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const std::string ascii127(127, 'a');
    const std::string wide150 = [] {
        std::string s;
        for (int i = 0; i < 150; ++i) s += kWide;
        return s;
    }();
    // One ASCII byte first: 127 bytes would end in the middle of a character.
    const std::string oddWide = "x" + wide150;
    const Case cases[] = {
        {"short", "岚舟链匣", "岚舟链匣"},
        {"exactly the field", ascii127, ascii127},
        {"one byte over", ascii127 + "b", ascii127},
        {"300 bytes of double-byte characters", wide150, wide150.substr(0, 126)},
        {"odd start", oddWide, oddWide.substr(0, 127)},
        {"odd start, one more", "xy" + wide150, "xy" + wide150.substr(0, 124)},
        {"empty", "", ""},
        {"stops at a zero byte", std::string("ab\0cd", 5), "ab"},
    };
    for (const Case& c : cases) {
        const std::string tip = tray::TipForField(c.text);
        EXPECT_EQ(tip, c.expected) << c.name;
        EXPECT_LE(tip.size(), tray::kTipFieldBytes - 1) << c.name;
    }
}

// 300 bytes in a language pack: the tip ends on a whole character.
TEST(TrayTip, LongPackTextEndsOnAWholeCharacter) {
    std::string text;
    while (text.size() < 300) text += "岚舟链匣";
    const std::string tip = tray::TipForField(text);
    EXPECT_EQ(tip.size(), 126u);
    EXPECT_EQ(tip, text.substr(0, 126));
    EXPECT_EQ(text.compare(0, tip.size(), tip), 0);
}

TEST(TrayMenuX, MovedIntoTheWorkAreaOnlyOffEveryMonitor) {
    struct Case {
        int x;
        bool onMonitor;
        int expected;
    };
    // Work area 0..1024 of the nearest monitor.
    const Case cases[] = {
        {500, true, 500},    {-40, true, -40},   {2000, true, 2000},  // on a monitor: as it is
        {-40, false, 0},     {1024, false, 1023}, {5000, false, 1023},
        {300, false, 300},   {0, false, 0},       {1023, false, 1023},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tray::MenuX(c.x, c.onMonitor, 0, 1024), c.expected) << c.x << " on monitor " << c.onMonitor;
    }
    // A second monitor left of the first.
    EXPECT_EQ(tray::MenuX(-3000, false, -1280, 0), -1280);
    EXPECT_EQ(tray::MenuX(10, false, -1280, 0), -1);
    // An empty work area leaves x alone rather than invent one.
    EXPECT_EQ(tray::MenuX(77, false, 50, 50), 77);
}

TEST(TrayClicks, ADoubleClickTogglesOnceAndSingleClicksEachToggle) {
    using Event = tray::CClickFilter::Event;
    tray::CClickFilter clicks;
    auto clicksIn = [&](std::initializer_list<Event> events) {
        int n = 0;
        for (Event e : events) n += clicks.IsClick(e) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(clicksIn({Event::kLeftDown, Event::kLeftUp}), 1);
    EXPECT_EQ(clicksIn({Event::kLeftDown, Event::kLeftUp, Event::kLeftDoubleClick, Event::kLeftUp}), 1);
    // After a double-click the next single click counts again.
    EXPECT_EQ(clicksIn({Event::kLeftDown, Event::kLeftUp}), 1);
    // A release the shell never sent after the double-click: the next press
    // starts afresh.
    EXPECT_EQ(clicksIn({Event::kLeftDoubleClick, Event::kLeftDown, Event::kLeftUp}), 1);
    // A release without a press (the press went elsewhere) still counts.
    EXPECT_EQ(clicksIn({Event::kLeftUp}), 1);
}

}  // namespace
