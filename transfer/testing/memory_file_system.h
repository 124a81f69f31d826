// A file system held in memory, for the transfer jobs' tests: folders, files
// and shortcut files under Windows-style paths ("C:\Fav\News"), listed in the
// order they were made. A folder alias lists another folder's entries under
// its own name with that folder's identity, as a symbolic link the system
// does not report does; a link is reported as one.
#pragma once

#include "transfer_file_system.h"

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace transfer_test {

class CMemoryFileSystem : public transfer::ITransferFileSystem {
public:
    CMemoryFileSystem();

    // Building (parents are made as needed).
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, std::string content);
    void AddShortcut(const std::string& path, const std::string& url);
    void AddFolderAlias(const std::string& path, const std::string& target);
    void AddLink(const std::string& path, const std::string& target);
    // Makes writing into `folder` (and below) fail.
    void RefuseWritesUnder(const std::string& folder) { refused_ = folder; }

    // Reading back.
    bool Has(const std::string& path) const;
    bool IsFolder(const std::string& path) const;
    std::string Content(const std::string& path) const;
    // Every path in the tree under `folder`, sorted, folders ending in '\'.
    std::vector<std::string> PathsUnder(const std::string& folder) const;
    std::size_t Writes() const { return writes_; }
    std::size_t ShortcutReads() const { return reads_; }
    // Called (on the worker) before each shortcut is read.
    std::function<void(const std::string&)> onRead;

    static std::string ShortcutText(const std::string& url);

    std::string NativePath(const std::string& ansiPath) const override { return ansiPath; }
    std::string AnsiText(const std::string& native) const override { return native; }
    bool PathsAreAnsi() const override { return true; }
    bool ListFolder(const std::string& folder, std::vector<transfer::TransferEntry>& entries) override;
    bool FolderIdentity(const std::string& folder, transfer::FolderId& id) override;
    transfer::PathKind KindOf(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool ReadFile(const std::string& path, std::string& data) override;
    std::string ReadShortcutUrl(const std::string& file) override;
    bool WriteShortcut(const std::string& url, const std::string& file) override;
    bool WriteFile(const std::string& path, std::string_view data) override;

private:
    struct Node {
        bool folder = false;
        bool link = false;
        std::string content;
        std::string aliasOf;  // a folder alias: the folder it shows
        std::vector<std::string> children;
        std::uint64_t id = 0;
    };
    // The node's key with aliases on the way resolved; empty when a folder on
    // the way is missing.
    std::string Resolve(const std::string& path) const;
    Node* Find(const std::string& path);
    const Node* Find(const std::string& path) const;
    Node& Make(const std::string& path, bool folder);

    std::map<std::string, Node> nodes_;
    std::uint64_t nextId_ = 1;
    std::string refused_;
    std::size_t writes_ = 0;
    std::size_t reads_ = 0;
};

}  // namespace transfer_test
