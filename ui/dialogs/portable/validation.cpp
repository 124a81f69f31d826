#include "validation.h"

#include "text_rules.h"

namespace dialogs {

std::optional<Refusal> CheckBookmark(std::string_view title, std::string_view url) {
    if (title.empty()) return Refusal{Field::kTitle, kBookmarkTitleEmpty};
    if (url.empty()) return Refusal{Field::kUrl, kBookmarkUrlEmpty};
    if (HasInvalidChars(title)) return Refusal{Field::kTitle, kInvalidChars};
    return std::nullopt;
}

std::optional<Refusal> CheckHomepageItem(std::string_view title, std::string_view url) {
    if (title.empty()) return Refusal{Field::kTitle, kHomepageTitleEmpty};
    if (url.empty()) return Refusal{Field::kUrl, kHomepageUrlEmpty};
    return std::nullopt;
}

std::optional<Refusal> CheckClassName(std::string_view name) {
    if (HasInvalidChars(name)) return Refusal{Field::kName, kInvalidChars};
    return std::nullopt;
}

}  // namespace dialogs
