// Exporting a category (or every category) to a folder: each category
// becomes a sub-folder, each bookmark a shortcut file named after its title.
// Names are made safe for the disk first, so nothing is written outside the
// chosen folder. The walk keeps one path and cuts it back when it climbs, so
// deep nesting costs neither stack nor a copy of the path per level.
#include "bookmark_store.h"
#include "transfer_file_system.h"
#include "transfer_job.h"
#include "transfer_paths.h"

namespace transfer {
namespace {

// Longer native paths are not attempted (the system's limit is 32,767
// UTF-16 units).
constexpr std::size_t kMaxNativePath = 32000;

std::string WithoutTrailingBackslash(const std::string& folder) {
    return folder.empty() || folder.back() != '\\' ? folder : folder.substr(0, folder.size() - 1);
}

}  // namespace

std::size_t CTransferJob::CountExport(const ClassRecord* top) const {
    std::size_t total = 0;
    const ClassRecord* root = store_.Root();
    if (top != root) total += top->bookmarks.size();
    for (const ClassRecord* c = top->FirstChild(); c; c = NextInPreOrder(c, top)) total += c->bookmarks.size();
    return total;
}

void CTransferJob::Export(ClassRecord* target) {
    ClassRecord* const root = store_.Root();
    // The folder itself was made before counting.
    std::string path = fs_.NativePath(path_);
    ClassRecord* node = target == root ? root->FirstChild() : target;
    // marks[i]: the length of `path` before the i-th level's name was added.
    std::vector<std::size_t> marks;
    while (node && !Stopping()) {
        marks.push_back(path.size());
        path += fs_.NativePath(DiskName(node->name));
        path += '\\';
        bool made = false;
        if (path.size() < kMaxNativePath) {
            const std::string folder = WithoutTrailingBackslash(path);
            made = fs_.KindOf(folder) == PathKind::kFolder || fs_.CreateFolder(folder);
        }
        if (made) {
            ExportBookmarks(path, node);
            if (node->FirstChild()) {
                node = node->FirstChild();
                continue;
            }
        } else {
            // Its folder cannot be had: neither its bookmarks nor anything
            // below it can be written.
            const std::size_t lost = CountExport(node);
            Advance(lost);
            Count(&TransferCounts::failed, lost);
        }
        // Climb to the next category in pre-order, cutting the path back.
        for (;;) {
            path.resize(marks.back());
            marks.pop_back();
            if (node == target) {
                node = nullptr;
                break;
            }
            if (node->NextSibling()) {
                node = node->NextSibling();
                break;
            }
            node = node->Parent();
            if (node == root) {
                node = nullptr;
                break;
            }
        }
    }
}

void CTransferJob::ExportBookmarks(const std::string& folder, ClassRecord* category) {
    // The user-interface thread leaves the list alone while the job holds the
    // collection.
    for (const BookmarkRecord* bookmark : category->bookmarks) {
        if (Stopping()) return;
        Step();
        const std::string file = folder + fs_.NativePath(DiskName(bookmark->title) + ".url");
        switch (fs_.KindOf(file)) {
            case PathKind::kNone:
                Count(fs_.WriteShortcut(bookmark->url, file) ? &TransferCounts::added : &TransferCounts::failed);
                break;
            case PathKind::kFolder:
                Count(&TransferCounts::failed);  // a folder of that name is in the way
                break;
            case PathKind::kFile: {
                const std::string existing = fs_.ReadShortcutUrl(file);
                if (SameName(existing, bookmark->url)) {
                    Count(&TransferCounts::unchanged);
                } else if (AskReplace(bookmark->title, existing, bookmark->url)) {
                    Count(fs_.WriteShortcut(bookmark->url, file) ? &TransferCounts::replaced : &TransferCounts::failed);
                } else {
                    Count(&TransferCounts::kept);
                }
                break;
            }
        }
    }
}

}  // namespace transfer
