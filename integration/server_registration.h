// Writing and removing the registration of the automation server: the
// application script, the class script and the type library, all taken from
// the executable's resources.
#pragma once

#include <windows.h>

#include <string>

#include "registry_access.h"

namespace integration {

// The application script, then the class script, then the type library.
// Stops at the first failure and returns it.
HRESULT RegisterServer();
// Removes the scripts' keys (keeping the shared roots) and the type
// library's. Goes on past failures and returns the first one.
HRESULT UnregisterServer();

// The two scripts of `resources`, applied to `registry` with "%MODULE%" as
// the quoted `modulePath`. The part of the above that needs no type library.
HRESULT ApplyServerScripts(RegistryAccess& registry, HMODULE resources, const std::string& modulePath,
                           bool registering);

}  // namespace integration
