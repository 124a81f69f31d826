#include "memory_file_system.h"

#include "platform/codepage.h"

namespace transfer_test {
namespace {

// The path's parts between backslashes; a trail byte is never a separator.
std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    const char* const end = path.data() + path.size();
    for (const char* p = path.data(); p < end;) {
        const char* next = platform::NextChar(p, end);
        if (next - p == 1 && *p == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part.append(p, static_cast<std::size_t>(next - p));
        }
        p = next;
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string Join(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) path += '\\';
        path += parts[i];
    }
    return path;
}

}  // namespace

CMemoryFileSystem::CMemoryFileSystem() = default;

std::string CMemoryFileSystem::ShortcutText(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

std::string CMemoryFileSystem::Resolve(const std::string& path) const {
    const std::vector<std::string> parts = Split(path);
    if (parts.empty()) return {};
    std::string key = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) {
        auto found = nodes_.find(key);
        if (found == nodes_.end() || !found->second.folder) return {};
        if (!found->second.aliasOf.empty()) key = found->second.aliasOf;
        key += '\\';
        key += parts[i];
    }
    auto found = nodes_.find(key);
    if (found != nodes_.end() && !found->second.aliasOf.empty()) return found->second.aliasOf;
    return key;
}

CMemoryFileSystem::Node* CMemoryFileSystem::Find(const std::string& path) {
    auto found = nodes_.find(Resolve(path));
    return found == nodes_.end() ? nullptr : &found->second;
}

const CMemoryFileSystem::Node* CMemoryFileSystem::Find(const std::string& path) const {
    auto found = nodes_.find(Resolve(path));
    return found == nodes_.end() ? nullptr : &found->second;
}

CMemoryFileSystem::Node& CMemoryFileSystem::Make(const std::string& path, bool folder) {
    const std::vector<std::string> parts = Split(path);
    for (std::size_t i = 1; i <= parts.size(); ++i) {
        const std::string key = Join(parts, i);
        auto found = nodes_.find(key);
        if (found != nodes_.end()) continue;
        Node node;
        node.folder = i < parts.size() || folder;
        node.id = nextId_++;
        nodes_.emplace(key, std::move(node));
        if (i > 1) nodes_[Join(parts, i - 1)].children.push_back(parts[i - 1]);
    }
    return nodes_[Join(parts, parts.size())];
}

void CMemoryFileSystem::AddFolder(const std::string& path) { Make(path, true); }

void CMemoryFileSystem::AddFile(const std::string& path, std::string content) {
    Make(path, false).content = std::move(content);
}

void CMemoryFileSystem::AddShortcut(const std::string& path, const std::string& url) {
    AddFile(path, ShortcutText(url));
}

void CMemoryFileSystem::AddFolderAlias(const std::string& path, const std::string& target) {
    Node& node = Make(path, true);
    node.aliasOf = Resolve(target);
}

void CMemoryFileSystem::AddLink(const std::string& path, const std::string& target) {
    AddFolderAlias(path, target);
    nodes_[Join(Split(path), Split(path).size())].link = true;
}

bool CMemoryFileSystem::Has(const std::string& path) const { return Find(path) != nullptr; }

bool CMemoryFileSystem::IsFolder(const std::string& path) const {
    const Node* node = Find(path);
    return node && node->folder;
}

std::string CMemoryFileSystem::Content(const std::string& path) const {
    const Node* node = Find(path);
    return node ? node->content : std::string();
}

std::vector<std::string> CMemoryFileSystem::PathsUnder(const std::string& folder) const {
    std::vector<std::string> paths;
    const std::string prefix = Join(Split(folder), Split(folder).size()) + '\\';
    for (const auto& [key, node] : nodes_) {
        if (key.compare(0, prefix.size(), prefix) == 0) paths.push_back(node.folder ? key + '\\' : key);
    }
    return paths;
}

bool CMemoryFileSystem::ListFolder(const std::string& folder, std::vector<transfer::TransferEntry>& entries) {
    entries.clear();
    const std::string key = Resolve(folder);
    auto found = nodes_.find(key);
    if (found == nodes_.end() || !found->second.folder) return false;
    for (const std::string& name : found->second.children) {
        const Node& child = nodes_.at(key + '\\' + name);
        transfer::TransferEntry entry;
        entry.name = name;
        entry.ansiName = name;
        entry.isFolder = child.folder;
        entry.isLink = child.link;
        entry.size = child.content.size();
        entries.push_back(std::move(entry));
    }
    return true;
}

bool CMemoryFileSystem::FolderIdentity(const std::string& folder, transfer::FolderId& id) {
    const Node* node = Find(folder);
    if (!node || !node->folder) return false;
    id = transfer::FolderId{1, node->id};
    return true;
}

transfer::PathKind CMemoryFileSystem::KindOf(const std::string& path) {
    const Node* node = Find(path);
    if (!node) return transfer::PathKind::kNone;
    return node->folder ? transfer::PathKind::kFolder : transfer::PathKind::kFile;
}

bool CMemoryFileSystem::CreateFolder(const std::string& path) {
    const std::vector<std::string> parts = Split(path);
    if (parts.size() < 2) return false;
    if (!refused_.empty() && path.compare(0, refused_.size(), refused_) == 0) return false;
    const Node* parent = Find(Join(parts, parts.size() - 1));
    if (!parent || !parent->folder) return false;
    if (const Node* node = Find(path)) return node->folder;
    Make(Resolve(Join(parts, parts.size() - 1)) + '\\' + parts.back(), true);
    return true;
}

bool CMemoryFileSystem::ReadFile(const std::string& path, std::string& data) {
    const Node* node = Find(path);
    if (!node || node->folder) return false;
    data = node->content;
    return true;
}

std::string CMemoryFileSystem::ReadShortcutUrl(const std::string& file) {
    if (onRead) onRead(file);
    ++reads_;
    const Node* node = Find(file);
    if (!node || node->folder || node->content.size() > transfer::kMaxShortcutSize) return {};
    const std::string& text = node->content;
    if (text.compare(0, 18, "[InternetShortcut]") != 0) return {};
    const std::size_t at = text.find("\nURL=");
    if (at == std::string::npos) return {};
    const std::size_t begin = at + 5;
    const std::size_t end = text.find_first_of("\r\n", begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

bool CMemoryFileSystem::WriteShortcut(const std::string& url, const std::string& file) {
    return !url.empty() && WriteFile(file, ShortcutText(url));
}

bool CMemoryFileSystem::WriteFile(const std::string& path, std::string_view data) {
    const std::vector<std::string> parts = Split(path);
    if (parts.size() < 2) return false;
    if (!refused_.empty() && path.compare(0, refused_.size(), refused_) == 0) return false;
    const Node* parent = Find(Join(parts, parts.size() - 1));
    if (!parent || !parent->folder) return false;
    if (const Node* node = Find(path); node && node->folder) return false;
    ++writes_;
    Make(Resolve(Join(parts, parts.size() - 1)) + '\\' + parts.back(), false).content = std::string(data);
    return true;
}

}  // namespace transfer_test
