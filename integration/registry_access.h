// The few registry operations the registration of the program needs, behind
// an interface so that the registry-script logic is portable: the program
// uses the system registry (win32_registry.h), host tests a registry kept in
// memory. Paths are backslash-separated key names below a root, in bytes of
// the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

namespace integration {

enum class RegistryRoot {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
};

// Results are system error codes: 0 is success.
constexpr long kRegistryOk = 0;
constexpr long kRegistryNotFound = 2;      // ERROR_FILE_NOT_FOUND
constexpr long kRegistryAccessDenied = 5;  // ERROR_ACCESS_DENIED

class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;

    // Creates the key and any missing keys above it; an existing key is fine.
    virtual long CreateKey(RegistryRoot root, const std::string& path) = 0;
    // Writes a string value (an empty name is the key's default value),
    // creating the key when it is missing.
    virtual long SetStringValue(RegistryRoot root, const std::string& path,
                                const std::string& name, const std::string& data) = 0;
    // Writes a REG_DWORD value, creating the key when it is missing.
    virtual long SetDwordValue(RegistryRoot root, const std::string& path, const std::string& name,
                               std::uint32_t data) = 0;
    // Reads a string value whole, however long, by the length the registry
    // gives (a stored terminator is dropped, none is relied on);
    // kRegistryNotFound when the key or the value does not exist.
    virtual long ReadStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                                 std::string& data) = 0;
    // kRegistryNotFound when the key or the value does not exist.
    virtual long DeleteValue(RegistryRoot root, const std::string& path,
                             const std::string& name) = 0;
    // Deletes the key with all its values and everything below it;
    // kRegistryNotFound when the key does not exist.
    virtual long DeleteTree(RegistryRoot root, const std::string& path) = 0;
    virtual bool KeyExists(RegistryRoot root, const std::string& path) = 0;
    virtual bool HasSubkeys(RegistryRoot root, const std::string& path) = 0;
};

}  // namespace integration
