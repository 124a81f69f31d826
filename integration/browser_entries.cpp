#include "browser_entries.h"

#include "browser_registration.h"
#include "link_page.h"
#include "platform/executable_path.h"
#include "win32_registry.h"

#include <windows.h>

namespace integration {

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool SetUpBrowserEntries(const std::string& programFolder, const std::string& menuText,
                         const std::string& buttonName, bool toolbarButton) {
    const std::string page = programFolder + "Bm_Link.htm";
    WriteLinkPage(page);
    Win32Registry registry;
    const ContextMenuUpdate update = UpdateContextMenu(registry, menuText, page, FileExists);
    if (toolbarButton) {
        RegisterToolbarButton(registry, platform::ExecutablePath(), buttonName);
    } else {
        RemoveToolbarButton(registry);
    }
    return update.hint;
}

void ApplyToolbarButtonChange(bool before, bool after, const std::string& buttonName) {
    if (before == after) return;
    Win32Registry registry;
    if (after) {
        RegisterToolbarButton(registry, platform::ExecutablePath(), buttonName);
    } else {
        RemoveToolbarButton(registry);
    }
}

void UpdateAutoRunEntry(bool autoRun, bool startHidden) {
    Win32Registry registry;
    ApplyAutoRun(registry, platform::ExecutablePath(), autoRun, startHidden);
}

}  // namespace integration
