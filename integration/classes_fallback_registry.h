// Writes to the classes root that are refused (a user without administrator
// rights on Windows) go to the user's own classes,
// HKEY_CURRENT_USER\Software\Classes, which the system merges into the
// classes root for that user.
// Reads see both places; deletes clear both, so that nothing a refused write
// put into the user's classes stays behind. (Wine reads classes only from the
// classes root, where it never refuses a write.) Other roots pass through.
#pragma once

#include <string>

#include "registry_access.h"

namespace integration {

class ClassesFallbackRegistry : public RegistryAccess {
public:
    explicit ClassesFallbackRegistry(RegistryAccess& inner, std::string userClasses = "Software\\Classes");

    long CreateKey(RegistryRoot root, const std::string& path) override;
    long SetStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                        const std::string& data) override;
    // Values of other roots than the classes root: passed through.
    long SetDwordValue(RegistryRoot root, const std::string& path, const std::string& name,
                       std::uint32_t data) override {
        return inner_.SetDwordValue(root, path, name, data);
    }
    long ReadStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                         std::string& data) override {
        return inner_.ReadStringValue(root, path, name, data);
    }
    long DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
    long DeleteTree(RegistryRoot root, const std::string& path) override;
    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool HasSubkeys(RegistryRoot root, const std::string& path) override;

private:
    std::string UserPath(const std::string& path) const;

    RegistryAccess& inner_;
    std::string userClasses_;
};

}  // namespace integration
