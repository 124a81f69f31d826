// The browser's entries as the running program keeps them: checked and
// written while the main window is created, the toolbar button also when its
// setting changes, the run-list value when the program ends.
#pragma once

#include <string>

namespace integration {

// The page beside the program, the context-menu entry `menuText` pointing at
// it, and the toolbar button (menu entry `buttonName`) when `toolbarButton`,
// else no button. True when the user should reopen the browser to see the
// new context-menu entry.
bool SetUpBrowserEntries(const std::string& programFolder, const std::string& menuText,
                         const std::string& buttonName, bool toolbarButton);

// The settings dialog switched the toolbar button from `before` to `after`.
void ApplyToolbarButtonChange(bool before, bool after, const std::string& buttonName);

// The run-list value for the auto-run settings.
void UpdateAutoRunEntry(bool autoRun, bool startHidden);

// The native messaging host's manifests in `programFolder` (ending in a
// backslash) and the browsers' keys naming them, each written only when it
// differs.
void SetUpNativeHostEntries(const std::string& programFolder);
// Removes them ("UnregServer"); returns the first registry failure, else 0.
long RemoveNativeHostEntries(const std::string& programFolder);

}  // namespace integration
