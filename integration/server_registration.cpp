#include "server_registration.h"

#include <string_view>

#include "automation_res.h"
#include "classes_fallback_registry.h"
#include "platform/executable_path.h"
#include "registry_script.h"
#include "typelib_registration.h"
#include "win32_registry.h"

namespace integration {
namespace {

HRESULT LoadScript(HMODULE module, int id, std::string_view& text) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), "REGISTRY");
    if (!found) return HRESULT_FROM_WIN32(::GetLastError());
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return HRESULT_FROM_WIN32(::GetLastError());
    text = std::string_view(static_cast<const char*>(data), ::SizeofResource(module, found));
    return S_OK;
}

HRESULT ApplyScript(RegistryAccess& registry, HMODULE module, int id, const ScriptReplacements& replacements,
                    bool registering) {
    std::string_view text;
    HRESULT hr = LoadScript(module, id, text);
    if (FAILED(hr)) return hr;
    return static_cast<HRESULT>(ApplyRegistryScript(registry, text, replacements, registering));
}

}  // namespace

HRESULT ApplyServerScripts(RegistryAccess& registry, HMODULE resources, const std::string& modulePath,
                           bool registering) {
    const ScriptReplacements replacements = {{"MODULE", "\"" + modulePath + "\""}};
    HRESULT app = ApplyScript(registry, resources, IDR_APP_REGISTRATION, replacements, registering);
    if (registering && FAILED(app)) return app;
    HRESULT cls = ApplyScript(registry, resources, IDR_IEMENUCATCH, replacements, registering);
    return FAILED(app) ? app : cls;
}

HRESULT RegisterServer() {
    Win32Registry system;
    ClassesFallbackRegistry registry(system);
    HRESULT hr = ApplyServerScripts(registry, ::GetModuleHandleA(nullptr), platform::ExecutablePath(), true);
    if (FAILED(hr)) return hr;
    return RegisterEmbeddedTypeLibrary();
}

HRESULT UnregisterServer() {
    Win32Registry system;
    ClassesFallbackRegistry registry(system);
    HRESULT hr = ApplyServerScripts(registry, ::GetModuleHandleA(nullptr), platform::ExecutablePath(), false);
    HRESULT lib = UnregisterEmbeddedTypeLibrary(registry);
    return FAILED(hr) ? hr : lib;
}

}  // namespace integration
