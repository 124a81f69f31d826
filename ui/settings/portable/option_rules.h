// The rules of the settings dialog's controls that need no window: what an
// option item's picture means and how a click changes it, how a value item's
// caption is made, where the title banner's stripes lie and which homepage
// row is selected after a delete.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The pictures of the option trees, by position in their strip.
enum OptionImage : int {
    kCheckOff = 0,
    kCheckOn = 1,
    kRadioOff = 2,
    kRadioOn = 3,
    kCheckOffDisabled = 4,
    kCheckOnDisabled = 5,
    kRadioOffDisabled = 6,
    kRadioOnDisabled = 7,
    kGroupImage = 8,  // groups and value items
};

bool IsCheckedImage(int image);
// A check box's picture after enabling or disabling it; its state stays.
int CheckImage(bool checked, bool enabled);
// What a click or the space bar does to an item with `image`.
enum class ClickEffect { kNone, kToggleCheck, kSelectRadio };
ClickEffect EffectOfClick(int image);
// The picture a sibling takes when another radio button is selected.
int DeselectedSiblingImage(int image);

// A value item's caption: the label, ": ", and the value (none while its
// editor is open).
std::string ValueCaption(std::string_view label, std::string_view value);

// One vertical stripe of the title banner: `shade` runs from 0 (black, at
// the left) to 1 (the button face, at the right).
struct BannerStripe {
    int left = 0;
    int width = 0;
    double shade = 1.0;
};
// The stripes of a banner `width` pixels wide, right to left; the last
// width mod 8 pixels at the right keep the button face. None for a width of
// 0 or less.
std::vector<BannerStripe> BannerStripes(int width);
// `channel` (0-255) of the button face at `shade`.
std::uint8_t ShadeChannel(std::uint8_t channel, double shade);

// The row selected after row `deleted` went from a list that now has
// `remaining` rows: the row now at its place, or the last; -1 when empty.
int RowAfterDelete(int deleted, int remaining);

}  // namespace settings
