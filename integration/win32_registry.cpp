#include "win32_registry.h"

#include <utility>

namespace integration {
namespace {

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle() {
        if (key_) ::RegCloseKey(key_);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    HKEY* Put() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

Win32Registry::Win32Registry()
    : at_{{HKEY_CLASSES_ROOT, ""}, {HKEY_CURRENT_USER, ""}, {HKEY_LOCAL_MACHINE, ""}} {}

Win32Registry::Win32Registry(Locations locations) : at_(std::move(locations)) {}

const Win32Registry::Location& Win32Registry::At(RegistryRoot root) const {
    switch (root) {
        case RegistryRoot::ClassesRoot: return at_.classes;
        case RegistryRoot::CurrentUser: return at_.currentUser;
        case RegistryRoot::LocalMachine: return at_.localMachine;
    }
    return at_.classes;
}

std::string Win32Registry::FullPath(RegistryRoot root, const std::string& path) const {
    const std::string& base = At(root).path;
    if (base.empty()) return path;
    return base + '\\' + path;
}

long Win32Registry::CreateKey(RegistryRoot root, const std::string& path) {
    if (path.empty()) return ERROR_INVALID_PARAMETER;
    KeyHandle key;
    return ::RegCreateKeyExA(At(root).key, FullPath(root, path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_CREATE_SUB_KEY, nullptr, key.Put(), nullptr);
}

long Win32Registry::SetStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                                   const std::string& data) {
    if (path.empty()) return ERROR_INVALID_PARAMETER;
    if (data.size() >= MAXDWORD) return ERROR_INVALID_PARAMETER;
    KeyHandle key;
    long error = ::RegCreateKeyExA(At(root).key, FullPath(root, path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    if (error != ERROR_SUCCESS) return error;
    return ::RegSetValueExA(key.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(data.size() + 1));
}

long Win32Registry::SetDwordValue(RegistryRoot root, const std::string& path, const std::string& name,
                                  std::uint32_t data) {
    if (path.empty()) return ERROR_INVALID_PARAMETER;
    KeyHandle key;
    long error = ::RegCreateKeyExA(At(root).key, FullPath(root, path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    if (error != ERROR_SUCCESS) return error;
    const DWORD value = data;
    return ::RegSetValueExA(key.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&value), sizeof value);
}

long Win32Registry::ReadStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                                    std::string& data) {
    if (path.empty()) return ERROR_INVALID_PARAMETER;
    KeyHandle key;
    long error = ::RegOpenKeyExA(At(root).key, FullPath(root, path).c_str(), 0, KEY_QUERY_VALUE, key.Put());
    if (error != ERROR_SUCCESS) return error;
    const char* valueName = name.empty() ? nullptr : name.c_str();
    // The value may grow between asking its size and reading it: ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        error = ::RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size);
        if (error != ERROR_SUCCESS) return error;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        std::string buffer(size, '\0');
        error = ::RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                   &size);
        if (error == ERROR_MORE_DATA) continue;
        if (error != ERROR_SUCCESS) return error;
        buffer.resize(size < buffer.size() ? size : buffer.size());
        if (const std::size_t zero = buffer.find('\0'); zero != std::string::npos) buffer.resize(zero);
        data = std::move(buffer);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

long Win32Registry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    if (path.empty()) return ERROR_INVALID_PARAMETER;
    KeyHandle key;
    long error = ::RegOpenKeyExA(At(root).key, FullPath(root, path).c_str(), 0, KEY_SET_VALUE, key.Put());
    if (error != ERROR_SUCCESS) return error;
    return ::RegDeleteValueA(key.Get(), name.empty() ? nullptr : name.c_str());
}

long Win32Registry::DeleteTree(RegistryRoot root, const std::string& path) {
    // An empty path would empty the root itself.
    if (path.empty()) return ERROR_INVALID_PARAMETER;
    return ::RegDeleteTreeA(At(root).key, FullPath(root, path).c_str());
}

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& path) {
    if (path.empty()) return false;
    KeyHandle key;
    const long error = ::RegOpenKeyExA(At(root).key, FullPath(root, path).c_str(), 0, KEY_READ, key.Put());
    // A key we may not read is still there (and its removal will be refused).
    return error == ERROR_SUCCESS || error == ERROR_ACCESS_DENIED;
}

bool Win32Registry::HasSubkeys(RegistryRoot root, const std::string& path) {
    if (path.empty()) return false;
    KeyHandle key;
    if (::RegOpenKeyExA(At(root).key, FullPath(root, path).c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return false;
    DWORD count = 0;
    if (::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return count > 0;
}

}  // namespace integration
