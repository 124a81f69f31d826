#include "memory_registry.h"

#include <algorithm>

using integration::RegistryRoot;

namespace integration_test {
namespace {

std::string Fold(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

const char* RootName(int root) {
    switch (static_cast<RegistryRoot>(root)) {
        case RegistryRoot::ClassesRoot: return "HKCR";
        case RegistryRoot::CurrentUser: return "HKCU";
        case RegistryRoot::LocalMachine: return "HKLM";
    }
    return "?";
}

}  // namespace

MemoryRegistry::Node* MemoryRegistry::Find(RegistryRoot root, const std::string& path) const {
    auto it = roots_.find(static_cast<int>(root));
    if (it == roots_.end()) return nullptr;
    Node* node = it->second.get();
    for (const std::string& part : Split(path)) {
        auto child = node->children.find(Fold(part));
        if (child == node->children.end()) return nullptr;
        node = child->second.get();
    }
    return node;
}

bool MemoryRegistry::Denied(RegistryRoot root, const std::string& path) const {
    const std::string folded = Fold(path);
    for (const auto& [r, prefix] : denied_) {
        if (r != root) continue;
        const std::string p = Fold(prefix);
        if (p.empty() || folded == p || (folded.size() > p.size() && folded.compare(0, p.size(), p) == 0 &&
                            folded[p.size()] == '\\'))
            return true;
    }
    return false;
}

void MemoryRegistry::DenyWritesUnder(RegistryRoot root, const std::string& path) {
    denied_.emplace_back(root, path);
}

long MemoryRegistry::CreateKey(RegistryRoot root, const std::string& path) {
    if (path.empty()) return 87;  // ERROR_INVALID_PARAMETER
    if (Denied(root, path)) return integration::kRegistryAccessDenied;
    auto& top = roots_[static_cast<int>(root)];
    if (!top) top = std::make_unique<Node>();
    Node* node = top.get();
    for (const std::string& part : Split(path)) {
        if (part.empty()) return 87;
        auto& child = node->children[Fold(part)];
        if (!child) {
            child = std::make_unique<Node>();
            child->name = part;
        }
        node = child.get();
    }
    ++writeCount;
    return integration::kRegistryOk;
}

long MemoryRegistry::SetStringValue(RegistryRoot root, const std::string& path,
                                    const std::string& name, const std::string& data) {
    if (long error = CreateKey(root, path)) return error;
    --writeCount;  // counted once below
    Find(root, path)->values[Fold(name)] = {name, data};
    ++writeCount;
    return integration::kRegistryOk;
}

long MemoryRegistry::SetDwordValue(RegistryRoot root, const std::string& path, const std::string& name,
                                   std::uint32_t data) {
    return SetStringValue(root, path, name, "dword:" + std::to_string(data));
}

long MemoryRegistry::ReadStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                                     std::string& data) {
    Node* node = Find(root, path);
    if (!node) return integration::kRegistryNotFound;
    auto it = node->values.find(Fold(name));
    if (it == node->values.end()) return integration::kRegistryNotFound;
    data = it->second.second;
    return integration::kRegistryOk;
}

long MemoryRegistry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    Node* node = Find(root, path);
    if (!node) return integration::kRegistryNotFound;
    if (Denied(root, path)) return integration::kRegistryAccessDenied;
    if (node->values.erase(Fold(name)) == 0) return integration::kRegistryNotFound;
    ++writeCount;
    return integration::kRegistryOk;
}

long MemoryRegistry::DeleteTree(RegistryRoot root, const std::string& path) {
    size_t cut = path.rfind('\\');
    Node* parent = nullptr;
    if (cut == std::string::npos) {
        auto it = roots_.find(static_cast<int>(root));
        if (it != roots_.end()) parent = it->second.get();
    } else {
        parent = Find(root, path.substr(0, cut));
    }
    const std::string leaf = cut == std::string::npos ? path : path.substr(cut + 1);
    if (!parent || parent->children.count(Fold(leaf)) == 0) return integration::kRegistryNotFound;
    if (Denied(root, path)) return integration::kRegistryAccessDenied;
    parent->children.erase(Fold(leaf));
    ++writeCount;
    return integration::kRegistryOk;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& path) {
    return !path.empty() && Find(root, path) != nullptr;
}

bool MemoryRegistry::HasSubkeys(RegistryRoot root, const std::string& path) {
    Node* node = Find(root, path);
    return node && !node->children.empty();
}

void MemoryRegistry::DumpNode(const Node& node, const std::string& prefix, std::vector<std::string>& out) {
    for (const auto& [folded, child] : node.children) {
        const std::string path = prefix + "\\" + child->name;
        out.push_back(path);
        for (const auto& [f, value] : child->values) out.push_back(path + "|" + value.first + "=" + value.second);
        DumpNode(*child, path, out);
    }
}

std::vector<std::string> MemoryRegistry::Dump() const {
    std::vector<std::string> out;
    for (const auto& [root, node] : roots_) DumpNode(*node, RootName(root), out);
    std::sort(out.begin(), out.end());
    return out;
}

std::string MemoryRegistry::Value(RegistryRoot root, const std::string& path, const std::string& name) const {
    Node* node = Find(root, path);
    if (!node) return "<none>";
    auto it = node->values.find(Fold(name));
    return it == node->values.end() ? "<none>" : it->second.second;
}

}  // namespace integration_test
