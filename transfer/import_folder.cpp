// Importing a folder of shortcut files: every sub-folder becomes a category
// (merging with one of the same name), every shortcut a bookmark. A folder's
// shortcuts are added before its sub-folders are visited. The walk keeps its
// own stack, so any depth is safe, and never enters a link or a folder that
// is already on the way down (a loop).
#include "platform/incoming_text.h"
#include "bookmark_store.h"
#include "transfer_file_system.h"
#include "transfer_job.h"
#include "transfer_paths.h"

#include <algorithm>
#include <optional>

namespace transfer {
namespace {

struct FolderFrame {
    std::string folder;  // native, ending in a backslash
    ClassRecord* category = nullptr;
    std::vector<TransferEntry> subFolders;
    std::size_t next = 0;
    FolderId id;
    bool known = false;
};

// Walks `root` and the folders below it depth first. `visit(folder,
// category, entries)` sees each folder's entries when it is listed;
// `enter(category, entry)` gives the category of a sub-folder, none to pass
// over it. `skipped` counts the folders not walked.
template <class Visit, class Enter, class Stopping>
void WalkFolders(ITransferFileSystem& fs, const std::string& root, ClassRecord* rootCategory, Visit visit,
                 Enter enter, Stopping stopping, std::size_t& skipped) {
    std::vector<FolderFrame> stack;
    auto onStack = [&](const FolderId& id) {
        for (const FolderFrame& above : stack) {
            if (above.known && above.id == id) return true;
        }
        return false;
    };
    auto open = [&](std::string folder, ClassRecord* category, const FolderId& id, bool known) {
        std::vector<TransferEntry> entries;
        if (!fs.ListFolder(folder, entries)) {
            if (!stack.empty()) ++skipped;
            return;
        }
        FolderFrame frame;
        frame.folder = std::move(folder);
        frame.category = category;
        frame.id = id;
        frame.known = known;
        for (TransferEntry& entry : entries) {
            if (entry.isFolder && entry.isLink) ++skipped;
            else if (entry.isFolder) frame.subFolders.push_back(std::move(entry));
        }
        entries.erase(std::remove_if(entries.begin(), entries.end(), [](const TransferEntry& e) { return e.isFolder; }),
                      entries.end());
        visit(frame.folder, category, entries);
        stack.push_back(std::move(frame));
    };
    FolderId rootId;
    const bool rootKnown = fs.FolderIdentity(root, rootId);
    open(root, rootCategory, rootId, rootKnown);
    while (!stack.empty() && !stopping()) {
        FolderFrame& top = stack.back();
        if (top.next == top.subFolders.size()) {
            stack.pop_back();
            continue;
        }
        const TransferEntry& entry = top.subFolders[top.next++];
        std::string folder = top.folder + entry.name + '\\';
        // A folder already on the way down (reached again through a link the
        // system does not report as one) would never end.
        FolderId id;
        const bool known = fs.FolderIdentity(folder, id);
        if (known && onStack(id)) {
            ++skipped;
            continue;
        }
        std::optional<ClassRecord*> category = enter(top.category, entry);
        if (!category) {
            ++skipped;
            continue;
        }
        open(std::move(folder), *category, id, known);
    }
}

}  // namespace

std::size_t CTransferJob::CountFolder(const std::string& folder) {
    std::size_t total = 0;
    std::size_t skipped = 0;
    WalkFolders(
        fs_, folder, nullptr,
        [&](const std::string&, ClassRecord*, const std::vector<TransferEntry>& files) { total += files.size(); },
        [](ClassRecord*, const TransferEntry&) { return std::optional<ClassRecord*>(nullptr); },
        [this] { return stop_.load(); }, skipped);
    return total;
}

void CTransferJob::ImportFolder(const std::string& folder, ClassRecord* category) {
    std::size_t skipped = 0;
    WalkFolders(
        fs_, folder, category,
        [&](const std::string& path, ClassRecord* into, const std::vector<TransferEntry>& files) {
            ImportFolderFiles(path, into, files);
        },
        [&](ClassRecord* parent, const TransferEntry& entry) -> std::optional<ClassRecord*> {
            if (Stopping()) return std::nullopt;
            std::string name = entry.ansiName;
            platform::ReplaceReservedNameChars(name);
            ClassRecord* child = ChildCategory(parent, name);
            if (!child) return std::nullopt;
            return child;
        },
        [this] { return Stopping(); }, skipped);
    Count(&TransferCounts::skipped, skipped);
}

void CTransferJob::ImportFolderFiles(const std::string& folder, ClassRecord* category,
                                     const std::vector<TransferEntry>& files) {
    const std::size_t changesBefore = Changes();
    for (const TransferEntry& file : files) {
        if (Stopping()) break;
        Step();
        if (file.size > kMaxShortcutSize) {
            Count(&TransferCounts::skipped);
            continue;
        }
        const std::string path = folder + file.name;
        std::string url = fs_.ReadShortcutUrl(path);
        if (url.empty()) {
            Count(&TransferCounts::skipped);  // not a shortcut, or no URL in it
            continue;
        }
        // A conflict names the shortcut file by its full path.
        AddImported(category, std::make_unique<BookmarkRecord>(TitleOfFileName(file.ansiName), std::move(url)),
                    fs_.AnsiText(path));
    }
    FinishCategory(category, Changes() != changesBefore);
}

}  // namespace transfer
