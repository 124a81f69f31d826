// The page the browser's context-menu entry runs, kept beside the program.
#pragma once

#include <string>

namespace integration {

// The page's bytes as the program carries them (resource 234, RT_HTML).
std::string EmbeddedLinkPage();

// Writes the embedded page to `path` when no file of that name exists (a
// folder of that name counts as none), through a temporary file so that a
// failed write never leaves half a page. An existing file is left alone.
bool WriteLinkPage(const std::string& path);

}  // namespace integration
