// The texts the editing dialogs look up by section and key, with the
// program's own (Chinese) text as the fallback, and which of them each mode of
// a dialog uses. Portable: no window is needed to choose a text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogs {

struct TextKey {
    std::string_view section;
    std::string_view key;
    std::string_view builtin;
};

// Language-pack sections, one per dialog.
inline constexpr std::string_view kBookmarkSection = "dlg_addbookmark";
inline constexpr std::string_view kClassSection = "dlg_addclass";
inline constexpr std::string_view kHomepageSection = "dlg_addhomepage";
inline constexpr std::string_view kSelectClassSection = "dlg_selectclass";
inline constexpr std::string_view kMoveClassSection = "dlg_moveclassto";
inline constexpr std::string_view kReplaceSection = "dlg_replace";
inline constexpr std::string_view kAboutSection = "dlg_about";

// Shared texts.
inline constexpr TextKey kUpdateButton{"common", "update", "修改"};
inline constexpr TextKey kInvalidChars{"common", "invalidchar", "标题不能包含下列非法字符:\n\\/:*?\"<>|"};

// Bookmark dialog.
inline constexpr TextKey kBookmarkTitleEmpty{kBookmarkSection, "10000", "标题不能为空!"};
inline constexpr TextKey kBookmarkUrlEmpty{kBookmarkSection, "10001", "网址不能为空!"};

// Homepage item dialog.
inline constexpr TextKey kHomepageTitleEmpty{kHomepageSection, "10000", "标题不能为空!"};
inline constexpr TextKey kHomepageUrlEmpty{kHomepageSection, "10001", "网址不能为空!"};

// What a dialog that adds or edits shows: its title (also the tab's label),
// the label of its name field (category dialog only; empty key: none) and
// whether its OK button reads "update" instead of the resource's "add".
struct ModeTexts {
    TextKey title;
    TextKey label;
    bool okIsUpdate;
};

// Bookmark dialog: 0 add, 1 edit; any other mode counts as add.
ModeTexts BookmarkModeTexts(int mode);
// Homepage item dialog: 0 add, 1 edit; any other mode counts as add.
ModeTexts HomepageModeTexts(int mode);
// Category dialog: 0 add, 1 add sub-category, 2 edit, 3 edit sub-category;
// any other mode counts as 0.
ModeTexts ClassModeTexts(int mode);

// The version line of the About dialog.
inline constexpr std::string_view kVersionLinePrefix = "zevLinkarbor Version ";

// A product version as four decimal numbers joined by dots: the high and low
// words of the most significant double word, then of the least significant.
std::string FormatProductVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant);

}  // namespace dialogs
