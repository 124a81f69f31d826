#include "startup_steps.h"

#include "automation_host.h"
#include "browser_entries.h"
#include "framework/private_messages.h"
#include "framework/program_folder.h"
#include "framework/server_module.h"
#include "iemenucatch.h"
#include "iemenucatch_factory.h"
#include "language.h"
#include "live_objects.h"
#include "server_registration.h"
#include "setting.h"

namespace app {
namespace {

static_assert(integration::kLinksPendingMessage == framework::UWM_LINKS_PENDING,
              "the automation object posts the main window's own message");

// Every live automation object holds one lock on the process.
class ModuleLock final : public integration::ProcessLock {
public:
    void Lock() override { framework::Module().Lock(); }
    void Unlock() override { framework::Module().Unlock(); }
};

ModuleLock g_moduleLock;

}  // namespace

void InitObjectTable() { integration::SetProcessLock(&g_moduleLock); }
HRESULT RegisterServer() {
    // The browsers' host beside the automation server it calls; its failure
    // is no failure of the server's registration.
    integration::SetUpNativeHostEntries(framework::ProgramFolder());
    return integration::RegisterServer();
}

HRESULT UnregisterServer() {
    const long host = integration::RemoveNativeHostEntries(framework::ProgramFolder());
    const HRESULT hr = integration::UnregisterServer();
    return FAILED(hr) || host == 0 ? hr : HRESULT_FROM_WIN32(static_cast<DWORD>(host));
}
void RegisterClassObjects() { integration::RegisterClassObjects(); }
void RevokeClassObjects() { integration::RevokeClassObjects(); }
void DisconnectClients() { integration::DisconnectLiveObjects(); }
void RecordMainWindow(HWND window) { integration::SetLinkWindow(window); }

void UpdateAutoRun() {
    const CSetting* s = CSetting::Instance();
    integration::UpdateAutoRunEntry(s->General_AutoRun != 0, s->General_AutoRunMinToTry != 0);
}

void DestroyLanguagePacks() { CLanguage::DestroyInstance(); }

}  // namespace app
