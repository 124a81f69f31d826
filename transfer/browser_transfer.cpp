// Importing and exporting the browsers' bookmark file (browser_file/): its
// folders become categories (merging with same-named ones, as the other
// imports do), its links bookmarks with their descriptions as remarks,
// through the replace question for titles already in a category. Links
// outside any folder, imported to the top level, go into a category named
// after the file's title, as a bookmark needs a category.
#include "browser_file.h"
#include "bookmark_store.h"
#include "transfer_file_system.h"
#include "transfer_job.h"

namespace transfer {
namespace {

// When the file has no title of its own.
constexpr char kLooseLinksCategory[] = "Bookmarks";
// The title a written file gives its list, as the browsers name theirs.
constexpr char kExportTitle[] = "Bookmarks";

}  // namespace

bool CTransferJob::ReadBrowserFile(browserfile::Contents& contents) {
    std::string text;
    if (!fs_.ReadFile(fs_.NativePath(path_), text)) return false;
    const bool looksRight = browserfile::LooksLikeBrowserFile(text);
    contents = browserfile::Read(text);
    return looksRight || contents.links > 0;
}

void CTransferJob::ImportBrowserFile(const browserfile::Contents& contents, ClassRecord* target) {
    using Kind = browserfile::Item::Kind;
    ClassRecord* const root = store_.Root();
    Count(&TransferCounts::unheld, contents.unheld);
    Count(&TransferCounts::skipped, contents.skipped);
    // The category being filled at each open folder (none when it could not
    // be had: its links are skipped), and Changes() when it was entered.
    std::vector<ClassRecord*> levels{target};
    std::vector<std::size_t> changesBefore{Changes()};
    ClassRecord* loose = nullptr;
    const std::size_t changesAtStart = Changes();
    for (const browserfile::Item& item : contents.items) {
        if (Stopping()) break;
        if (item.kind == Kind::kFolder) {
            ClassRecord* child = levels.back() ? ChildCategory(levels.back(), item.title) : nullptr;
            if (!child) Count(&TransferCounts::skipped);
            levels.push_back(child);
            changesBefore.push_back(Changes());
        } else if (item.kind == Kind::kEnd) {
            if (levels.size() == 1) continue;
            FinishCategory(levels.back(), Changes() != changesBefore.back());
            levels.pop_back();
            changesBefore.pop_back();
        } else {
            Step();
            ClassRecord* category = levels.back();
            if (category == root) {
                if (!loose) loose = ChildCategory(root, contents.title.empty() ? kLooseLinksCategory : contents.title);
                category = loose;
            }
            if (!category || item.url.empty()) {
                Count(&TransferCounts::skipped);
                continue;
            }
            AddImported(category, std::make_unique<BookmarkRecord>(item.title, item.url, item.description));
        }
    }
    // Folders a stop left open.
    while (levels.size() > 1) {
        FinishCategory(levels.back(), Changes() != changesBefore.back());
        levels.pop_back();
        changesBefore.pop_back();
    }
    FinishCategory(loose ? loose : target, Changes() != changesAtStart);
    FlushReplacements();
}

void CTransferJob::ExportBrowserFile(ClassRecord* target) {
    ClassRecord* const root = store_.Root();
    std::vector<const ClassRecord*> tops;
    if (target == root) {
        for (const ClassRecord* c = root->FirstChild(); c; c = c->NextSibling()) tops.push_back(c);
    } else {
        tops.push_back(target);
    }
    const std::size_t total = CountExport(target);
    SetTotal(total);
    const std::string text = browserfile::Write(tops, kExportTitle);
    if (!fs_.WriteFile(fs_.NativePath(path_), text)) {
        PathFailed();
        Count(&TransferCounts::failed, total);
        return;
    }
    Count(&TransferCounts::added, total);
    Advance(total);
}

}  // namespace transfer
