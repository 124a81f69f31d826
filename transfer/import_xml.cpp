// Importing a bookmark file of the program's own format: "G" elements become
// categories (merging with same-named ones), "a" elements bookmarks, both
// names taken ignoring ASCII case. Unlike loading the bookmark file, titles
// already in a category go through the replace question. The document's
// cursor is walked level by level with a stack of our own, so any depth of
// nesting is safe.
#include "platform/incoming_text.h"
#include "bookmark_store.h"
#include "transfer_job.h"
#include "xml_document.h"
#include "xml_file_text.h"

namespace transfer {
namespace {

constexpr std::string_view kBookmarkAttributes[] = {"t", "u", "r"};

bool IsBookmarkFile(CXmlDocument& document) {
    document.ResetCursor();
    return document.IsWellFormed() && document.FindElement() && document.ElementNameView() == "root";
}

bool EnterRoot(CXmlDocument& document) { return IsBookmarkFile(document) && document.EnterElement(); }

}  // namespace

std::size_t CTransferJob::CountXml(CXmlDocument& document) {
    std::size_t total = 0;
    if (!IsBookmarkFile(document)) {
        PathFailed();
        return 0;
    }
    if (!EnterRoot(document)) return 0;  // an empty "root"
    std::size_t depth = 0;
    while (!stop_.load()) {
        if (!document.FindElement()) {
            if (depth == 0) break;
            document.LeaveElement();
            --depth;
            continue;
        }
        const std::string_view name = document.ElementNameView();
        if (IsNamedIgnoringCase(name, 'G')) {
            if (document.EnterElement()) ++depth;
        } else if (IsNamedIgnoringCase(name, 'a')) {
            ++total;
        }
    }
    return total;
}

void CTransferJob::ImportXml(CXmlDocument& document, ClassRecord* target) {
    if (!EnterRoot(document)) return;
    ClassRecord* const root = store_.Root();
    // The category being filled at each level of the document.
    std::vector<ClassRecord*> levels{target};
    // Changes() when each level was entered.
    std::vector<std::size_t> changesBefore{Changes()};
    std::string title, url, remark;
    std::string* const values[] = {&title, &url, &remark};
    while (!Stopping()) {
        ClassRecord* const level = levels.back();
        if (!document.FindElement()) {
            FinishCategory(level, Changes() != changesBefore.back());
            if (levels.size() == 1) break;
            document.LeaveElement();
            levels.pop_back();
            changesBefore.pop_back();
            continue;
        }
        const std::string_view name = document.ElementNameView();
        if (IsNamedIgnoringCase(name, 'G')) {
            std::string categoryName = document.GetAttribute("t");
            platform::ReplaceReservedNameChars(categoryName);
            ClassRecord* child = ChildCategory(level, categoryName);
            if (child && document.EnterElement()) {
                levels.push_back(child);
                changesBefore.push_back(Changes());
            } else {
                Count(&TransferCounts::skipped);
            }
        } else if (IsNamedIgnoringCase(name, 'a')) {
            Step();
            document.GetAttributes(kBookmarkAttributes, values);
            platform::ReplaceReservedNameChars(title);
            // A bookmark right under "root" has no category at the top level.
            if (url.empty() || level == root) {
                Count(&TransferCounts::skipped);
                continue;
            }
            AddImported(level, std::make_unique<BookmarkRecord>(title, url, remark));
        }
        // Anything else is passed over with its content.
    }
    // Stopped part-way: what was answered is still carried out.
    FlushReplacements();
}

}  // namespace transfer
