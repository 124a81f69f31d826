#include "dialog_texts.h"

namespace dialogs {

ModeTexts BookmarkModeTexts(int mode) {
    if (mode == 1) return {{kBookmarkSection, "title1", "编辑书签"}, {}, true};
    return {{kBookmarkSection, "title0", "增加书签"}, {}, false};
}

ModeTexts HomepageModeTexts(int mode) {
    if (mode == 1) return {{kHomepageSection, "title1", "编辑主页组项"}, {}, true};
    return {{kHomepageSection, "title0", "增加主页组项"}, {}, false};
}

ModeTexts ClassModeTexts(int mode) {
    constexpr TextKey kClassLabel{kClassSection, "10000", "书签类别:"};
    constexpr TextKey kSubClassLabel{kClassSection, "10001", "书签子类别:"};
    switch (mode) {
        case 1: return {{kClassSection, "title1", "增加子类别"}, kSubClassLabel, false};
        case 2: return {{kClassSection, "title2", "编辑类别"}, kClassLabel, true};
        case 3: return {{kClassSection, "title3", "编辑子类别"}, kSubClassLabel, true};
        default: return {{kClassSection, "title0", "增加类别"}, kClassLabel, false};
    }
}

std::string FormatProductVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant) {
    return std::to_string(mostSignificant >> 16) + "." + std::to_string(mostSignificant & 0xFFFF) + "." +
           std::to_string(leastSignificant >> 16) + "." + std::to_string(leastSignificant & 0xFFFF);
}

}  // namespace dialogs
