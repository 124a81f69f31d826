// The system registry behind RegistryAccess (see classes_fallback_registry.h
// for what happens when the classes root refuses a write).
#pragma once

#include <windows.h>

#include <string>

#include "registry_access.h"

namespace integration {

class Win32Registry : public RegistryAccess {
public:
    // A place in the registry that stands for a root: an open key and a
    // path below it (empty for the key itself).
    struct Location {
        HKEY key = nullptr;
        std::string path;
    };
    struct Locations {
        Location classes;
        Location currentUser;
        Location localMachine;
    };

    // The real roots.
    Win32Registry();
    // Other places, for tests that must not touch the real roots.
    explicit Win32Registry(Locations locations);

    long CreateKey(RegistryRoot root, const std::string& path) override;
    long SetStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                        const std::string& data) override;
    long SetDwordValue(RegistryRoot root, const std::string& path, const std::string& name,
                       std::uint32_t data) override;
    long ReadStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                         std::string& data) override;
    long DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
    long DeleteTree(RegistryRoot root, const std::string& path) override;
    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool HasSubkeys(RegistryRoot root, const std::string& path) override;

private:
    const Location& At(RegistryRoot root) const;
    std::string FullPath(RegistryRoot root, const std::string& path) const;

    Locations at_;
};

}  // namespace integration
