// Where the window code obtains its user-visible texts: the language packs'
// lookup and their bulk translation of a dialog.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace framework {

// The active pack's [section] key, or `builtin` when no pack has it.
std::string UiText(std::string_view section, std::string_view key, std::string_view builtin);

// Replaces a dialog's title and its controls' texts from `section`.
void TranslateDialog(HWND dialog, std::string_view section);

// The whole text of a window or control, empty when it has none.
std::string WindowTextOf(HWND window);

}  // namespace framework
