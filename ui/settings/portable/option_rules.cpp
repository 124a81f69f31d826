#include "option_rules.h"

#include <algorithm>
#include <cmath>

namespace settings {

bool IsCheckedImage(int image) { return image == kCheckOn || image == kCheckOnDisabled; }

int CheckImage(bool checked, bool enabled) {
    if (enabled) return checked ? kCheckOn : kCheckOff;
    return checked ? kCheckOnDisabled : kCheckOffDisabled;
}

ClickEffect EffectOfClick(int image) {
    switch (image) {
    case kCheckOff:
    case kCheckOn:
        return ClickEffect::kToggleCheck;
    case kRadioOff:
        return ClickEffect::kSelectRadio;
    default:
        // Disabled items, a radio button already selected, groups.
        return ClickEffect::kNone;
    }
}

int DeselectedSiblingImage(int image) {
    return image == kRadioOff || image == kRadioOn ? kRadioOff : kRadioOffDisabled;
}

std::string ValueCaption(std::string_view label, std::string_view value) {
    std::string caption(label);
    caption += ": ";
    caption += value;
    return caption;
}

std::vector<BannerStripe> BannerStripes(int width) {
    std::vector<BannerStripe> stripes;
    if (width <= 0) return stripes;
    const int stripe = std::max(1, width / 128);
    const int shaded = width - width % 8;  // the rest keeps the button face
    if (shaded <= 0) return stripes;
    stripes.reserve(static_cast<std::size_t>(shaded / stripe + 1));
    for (int right = shaded; right > 0; right -= stripe) {
        const int left = std::max(0, right - stripe);
        const double place = static_cast<double>(right) / shaded;  // 1 at the right edge
        stripes.push_back(BannerStripe{left, right - left, place * place});
    }
    return stripes;
}

std::uint8_t ShadeChannel(std::uint8_t channel, double shade) {
    const double clamped = std::clamp(shade, 0.0, 1.0);
    return static_cast<std::uint8_t>(std::lround(channel * clamped));
}

int RowAfterDelete(int deleted, int remaining) {
    if (remaining <= 0) return -1;
    return std::clamp(deleted, 0, remaining - 1);
}

}  // namespace settings
