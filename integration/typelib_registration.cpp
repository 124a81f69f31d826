#include "typelib_registration.h"

#include <oleauto.h>

#include <string>

#include "platform/executable_path.h"
#include "typelib_keys.h"

// Exported by oleaut32 but not declared by the MinGW headers.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID guid, WORD major, WORD minor, LCID lcid, SYSKIND kind);
}

namespace integration {

std::string GuidText(REFGUID guid) {
    wchar_t wide[40] = {};
    ::StringFromGUID2(guid, wide, 40);
    char text[40] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

namespace {

class EmbeddedLibrary {
public:
    EmbeddedLibrary() : path_(platform::ExecutablePathWide()) {
        result_ = path_.empty() ? E_FAIL : ::LoadTypeLibEx(path_.c_str(), REGKIND_NONE, &library_);
    }
    ~EmbeddedLibrary() {
        if (library_) library_->Release();
    }
    EmbeddedLibrary(const EmbeddedLibrary&) = delete;
    EmbeddedLibrary& operator=(const EmbeddedLibrary&) = delete;

    HRESULT Loaded() const { return result_; }
    ITypeLib* Get() const { return library_; }
    std::wstring& Path() { return path_; }

    HRESULT Attributes(TLIBATTR& out) const {
        TLIBATTR* attr = nullptr;
        HRESULT hr = library_->GetLibAttr(&attr);
        if (FAILED(hr)) return hr;
        out = *attr;
        library_->ReleaseTLibAttr(attr);
        return S_OK;
    }

    TypeLibraryKeys Keys(const TLIBATTR& attr) const {
        TypeLibraryKeys keys;
        keys.libraryId = GuidText(attr.guid);
        char version[16];
        wsprintfA(version, "%x.%x", attr.wMajorVerNum, attr.wMinorVerNum);
        keys.version = version;
        const UINT count = library_->GetTypeInfoCount();
        for (UINT i = 0; i < count; ++i) {
            TYPEKIND kind = TKIND_MAX;
            GUID guid{};
            if (FAILED(library_->GetTypeInfoType(i, &kind))) continue;
            if (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH) continue;
            ITypeInfo* info = nullptr;
            if (FAILED(library_->GetTypeInfo(i, &info))) continue;
            TYPEATTR* typeAttr = nullptr;
            if (SUCCEEDED(info->GetTypeAttr(&typeAttr))) {
                guid = typeAttr->guid;
                info->ReleaseTypeAttr(typeAttr);
                keys.interfaceIds.push_back(GuidText(guid));
            }
            info->Release();
        }
        return keys;
    }

private:
    std::wstring path_;
    ITypeLib* library_ = nullptr;
    HRESULT result_ = E_FAIL;
};

}  // namespace

HRESULT RegisterEmbeddedTypeLibrary() {
    EmbeddedLibrary library;
    if (FAILED(library.Loaded())) return library.Loaded();
    HRESULT hr = ::RegisterTypeLib(library.Get(), library.Path().data(), nullptr);
    // Without administrator rights on Windows: the user's own classes.
    if (hr == TYPE_E_REGISTRYACCESS) hr = ::RegisterTypeLibForUser(library.Get(), library.Path().data(), nullptr);
    return hr;
}

HRESULT UnregisterEmbeddedTypeLibrary(RegistryAccess& registry) {
    EmbeddedLibrary library;
    if (FAILED(library.Loaded())) return library.Loaded();
    TLIBATTR attr{};
    HRESULT hr = library.Attributes(attr);
    if (FAILED(hr)) return hr;
    const TypeLibraryKeys keys = library.Keys(attr);
    if (!registry.KeyExists(RegistryRoot::ClassesRoot, "TypeLib\\" + keys.libraryId)) return S_OK;

    hr = ::UnRegisterTypeLib(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, attr.lcid, attr.syskind);
    if (hr == TYPE_E_REGISTRYACCESS)
        hr = ::UnRegisterTypeLibForUser(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, attr.lcid, attr.syskind);
    if (SUCCEEDED(hr)) return hr;
    return static_cast<HRESULT>(RemoveTypeLibraryKeys(registry, keys));
}

}  // namespace integration
