// The program's entries for the browser and the log-on: the context-menu
// entry that runs the program's page, the toolbar button that starts the
// program, and the run-list value. Decisions only, over RegistryAccess, so
// that they are tested with a registry kept in memory.
#pragma once

#include "registry_access.h"

#include <functional>
#include <string>
#include <string_view>

namespace integration {

// The context-menu key of the menu text `menuText` (the browser shows it).
std::string ContextMenuKey(std::string_view menuText);
// The toolbar button's key.
extern const char kToolbarButtonKey[];
// The run list and the program's value in it.
extern const char kRunKey[];
extern const char kRunValue[];

// Equal after upper-casing single-byte ASCII letters; double-byte characters
// compare whole (a trail byte "a" is not "A").
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

struct ContextMenuUpdate {
    bool written = false;  // the key now names the page
    bool hint = false;     // tell the user to reopen the browser
};

// Points the context-menu entry `menuText` at `pagePath` unless it already
// names it (ignoring ASCII case). The hint is wanted only after a successful
// write, and only when the old path named no existing file (a first start,
// or a program folder that moved).
ContextMenuUpdate UpdateContextMenu(RegistryAccess& registry, std::string_view menuText, const std::string& pagePath,
                                    const std::function<bool(const std::string&)>& fileExists);

// The toolbar button starting `exePath`, its menu entry reading
// "zevLinkarbor(<menuName>)"; the values in their fixed order.
long RegisterToolbarButton(RegistryAccess& registry, const std::string& exePath, std::string_view menuName);
long RemoveToolbarButton(RegistryAccess& registry);

// The run-list command: the executable, quoted when its path holds a space
// (else the log-on start would try the path up to the space), then " /hide"
// when the program starts hidden (the switch stays last on the line).
std::string RunCommand(const std::string& exePath, bool startHidden);

// Brings the run-list value in line with the settings: written when it
// differs (ignoring ASCII case), deleted when auto-run is off.
long ApplyAutoRun(RegistryAccess& registry, const std::string& exePath, bool autoRun, bool startHidden);

}  // namespace integration
