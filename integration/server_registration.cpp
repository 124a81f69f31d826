#include "server_registration.h"

#include <oleauto.h>

#include <string_view>
#include <vector>

#include "automation_res.h"
#include "classes_fallback_registry.h"
#include "quorva_automation.h"
#include "registry_script.h"
#include "win32_registry.h"

// Exported by oleaut32 but not declared by the MinGW headers.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID guid, WORD major, WORD minor, LCID lcid, SYSKIND kind);
}

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

std::wstring ExecutablePathWide() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) return std::wstring(path.data(), n);
        if (path.size() >= 32768) return std::wstring();
        path.resize(path.size() * 2);
    }
}

class TypeLibrary {
public:
    TypeLibrary() : path_(ExecutablePathWide()) {
        result_ = path_.empty() ? E_FAIL : ::LoadTypeLibEx(path_.c_str(), REGKIND_NONE, &library_);
    }
    ~TypeLibrary() {
        if (library_) library_->Release();
    }
    TypeLibrary(const TypeLibrary&) = delete;
    TypeLibrary& operator=(const TypeLibrary&) = delete;

    HRESULT Register() {
        if (FAILED(result_)) return result_;
        HRESULT hr = ::RegisterTypeLib(library_, path_.data(), nullptr);
        // Without administrator rights on Windows: the user's own classes.
        if (hr == TYPE_E_REGISTRYACCESS) hr = ::RegisterTypeLibForUser(library_, path_.data(), nullptr);
        return hr;
    }

    HRESULT Unregister() {
        if (FAILED(result_)) return result_;
        TLIBATTR* attr = nullptr;
        HRESULT hr = library_->GetLibAttr(&attr);
        if (FAILED(hr)) return hr;
        const TLIBATTR a = *attr;
        library_->ReleaseTLibAttr(attr);
        hr = ::UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
        if (hr == TYPE_E_REGISTRYACCESS)
            hr = ::UnRegisterTypeLibForUser(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
        return hr;
    }

private:
    std::wstring path_;
    ITypeLib* library_ = nullptr;
    HRESULT result_ = E_FAIL;
};

std::string GuidText(REFGUID guid) {
    wchar_t wide[40] = {};
    ::StringFromGUID2(guid, wide, 40);
    char text[40] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

}  // namespace

std::string ExecutablePath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) return std::string(path.data(), n);
        if (path.size() >= 32768) return std::string();
        path.resize(path.size() * 2);
    }
}

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
    HRESULT hr = ApplyServerScripts(registry, ::GetModuleHandleA(nullptr), ExecutablePath(), true);
    if (FAILED(hr)) return hr;
    return TypeLibrary().Register();
}

HRESULT UnregisterServer() {
    Win32Registry system;
    ClassesFallbackRegistry registry(system);
    HRESULT hr = ApplyServerScripts(registry, ::GetModuleHandleA(nullptr), ExecutablePath(), false);
    // A type library that is not registered needs no removing.
    HRESULT lib = S_OK;
    if (registry.KeyExists(RegistryRoot::ClassesRoot, "TypeLib\\" + GuidText(LIBID_quorvaLib)))
        lib = TypeLibrary().Unregister();
    return FAILED(hr) ? hr : lib;
}

}  // namespace integration
