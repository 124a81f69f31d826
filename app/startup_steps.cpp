#include "startup_steps.h"

namespace app {

// Empty until the automation object exists.
void InitObjectTable() {}
HRESULT RegisterServer() { return S_OK; }
HRESULT UnregisterServer() { return S_OK; }
void RegisterClassObjects() {}
void RevokeClassObjects() {}

// Empty until the auto-run entry is written.
void UpdateAutoRun() {}

// Empty until the language packs exist.
void DestroyLanguagePacks() {}

}  // namespace app
