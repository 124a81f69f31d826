// The checks the editing dialogs make when OK is pressed, in their order. The
// first failed check names the message to show and the field that gets the
// focus; no failure means the dialog may close.
#pragma once

#include "dialog_texts.h"

#include <optional>
#include <string_view>

namespace dialogs {

enum class Field { kTitle, kUrl, kName };

struct Refusal {
    Field field;
    TextKey message;
};

// Title empty, then URL empty, then a title holding \ / : * ? " < > |.
// The remark is free and the URL is not checked beyond being non-empty.
std::optional<Refusal> CheckBookmark(std::string_view title, std::string_view url);

// Title empty, then URL empty; no character check.
std::optional<Refusal> CheckHomepageItem(std::string_view title, std::string_view url);

// Only the invalid characters: an empty name, or one of spaces, is accepted.
std::optional<Refusal> CheckClassName(std::string_view name);

}  // namespace dialogs
