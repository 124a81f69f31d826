// The settings dialog as the main window opens it: the four pages with
// their titles, run over `owner`. While a settings dialog is open, a second
// request only brings the open one forward.
#pragma once

#include <windows.h>

class CHomepageGroup;

namespace settings {

enum class SettingsOutcome { kOk, kCancel, kAlreadyOpen, kFailed };

// `group`: the homepage group the dialog edits, by default the program's.
SettingsOutcome RunSettingsDialog(HWND owner, CHomepageGroup* group = nullptr);

}  // namespace settings
