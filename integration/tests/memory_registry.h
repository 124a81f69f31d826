// A registry kept in memory for tests of the registration logic. Key and
// value names compare without ASCII case, as in the system registry. Writes
// below chosen keys can be refused to test failure paths.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry_access.h"

namespace integration_test {

class MemoryRegistry : public integration::RegistryAccess {
public:
    long CreateKey(integration::RegistryRoot root, const std::string& path) override;
    long SetStringValue(integration::RegistryRoot root, const std::string& path,
                        const std::string& name, const std::string& data) override;
    // Stored as the text "dword:<decimal>".
    long SetDwordValue(integration::RegistryRoot root, const std::string& path, const std::string& name,
                       std::uint32_t data) override;
    long ReadStringValue(integration::RegistryRoot root, const std::string& path, const std::string& name,
                         std::string& data) override;
    long DeleteValue(integration::RegistryRoot root, const std::string& path,
                     const std::string& name) override;
    long DeleteTree(integration::RegistryRoot root, const std::string& path) override;
    bool KeyExists(integration::RegistryRoot root, const std::string& path) override;
    bool HasSubkeys(integration::RegistryRoot root, const std::string& path) override;

    // Every write (create, set, delete) at or below `path` fails with access
    // denied; an empty path refuses the whole root.
    void DenyWritesUnder(integration::RegistryRoot root, const std::string& path);

    // One line per key ("HKCR\a\b") and per value ("HKCR\a\b|name=data", the
    // default value with an empty name), sorted, in the stored case.
    std::vector<std::string> Dump() const;

    // The value's data, or "<none>" when the key or value is missing.
    std::string Value(integration::RegistryRoot root, const std::string& path,
                      const std::string& name = std::string()) const;

    int writeCount = 0;  // successful creates, sets and deletes

private:
    struct Node {
        std::string name;
        std::map<std::string, std::pair<std::string, std::string>> values;  // folded -> (name, data)
        std::map<std::string, std::unique_ptr<Node>> children;             // folded -> node
    };

    Node* Find(integration::RegistryRoot root, const std::string& path) const;
    bool Denied(integration::RegistryRoot root, const std::string& path) const;
    static void DumpNode(const Node& node, const std::string& prefix, std::vector<std::string>& out);

    std::map<int, std::unique_ptr<Node>> roots_;
    std::vector<std::pair<integration::RegistryRoot, std::string>> denied_;
};

}  // namespace integration_test
