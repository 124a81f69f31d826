// Registering the type library embedded in the executable, so that calls on
// IIEMenuCatch from other processes travel through the system's automation
// marshaler.
#pragma once

#include <windows.h>

#include <string>

#include "registry_access.h"

namespace integration {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as registry keys name GUIDs.
std::string GuidText(REFGUID guid);

HRESULT RegisterEmbeddedTypeLibrary();

// Removes the library's registration when there is one. When the system
// cannot (the registered file is gone or moved), removes the keys itself
// through `registry`.
HRESULT UnregisterEmbeddedTypeLibrary(RegistryAccess& registry);

}  // namespace integration
