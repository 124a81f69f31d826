// The registry keys a registered type library owns, removed by the program
// itself when the system cannot do it (it loads the library from the file
// the registration names, which fails once that file is gone or moved).
#pragma once

#include <string>
#include <vector>

#include "registry_access.h"
#include "registry_script.h"

namespace integration {

struct TypeLibraryKeys {
    std::string libraryId;                  // registry text form, braces included
    std::string version;                    // "1.0"
    std::vector<std::string> interfaceIds;  // interfaces the library describes
};

// Deletes TypeLib\{library}\{version} (and TypeLib\{library} when nothing
// else is left in it) and Interface\{id} for each interface, under the
// classes root. Missing keys are no failure.
ScriptResult RemoveTypeLibraryKeys(RegistryAccess& registry, const TypeLibraryKeys& keys);

}  // namespace integration
