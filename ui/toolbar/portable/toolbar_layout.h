// The toolbar's layout as one string, the form it takes in the settings
// ("GUI.ToolbarData", "GUI.DefaultToolbarData"): decimal numbers separated by
// commas, the label mode, the icon size, then the command of every button
// from left to right (0 a separator).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace toolbar {

// A string longer than this many buttons is read up to here: the toolbar
// offers a few dozen buttons, and start-up must not stall on a huge value.
constexpr std::size_t kMaxLayoutButtons = 1000;

constexpr int kDefaultTextOption = 0;  // labels below the pictures
constexpr int kDefaultIconOption = 1;  // large pictures

struct ToolbarLayout {
    int textOption = kDefaultTextOption;
    int iconOption = kDefaultIconOption;
    // Commands as written; values beyond the int range are kept saturated,
    // so that they match no button.
    std::vector<std::int64_t> buttons;
};

// Reads each piece as a leading decimal number (blanks and a sign allowed,
// the rest of the piece ignored, an empty or non-numeric piece 0). Options
// outside 0-2 (labels) and 0-1 (icons) and missing options take the
// defaults.
ToolbarLayout ParseLayout(std::string_view text);

// "text,icon" followed by ",command" per button.
std::string FormatLayout(int textOption, int iconOption, const std::vector<int>& commands);

}  // namespace toolbar
