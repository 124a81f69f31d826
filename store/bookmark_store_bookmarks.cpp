// The bookmarks of a category: lookup by title, insertion, removal, and the
// random pick.
#include <algorithm>
#include <unordered_set>

#include "bookmark_store.h"
#include "random_sample.h"

namespace {

// Below this many bookmarks a plain walk of the list is as quick as the index.
constexpr std::size_t kIndexFromSize = 16;

// The first conflict in list order, exactly as the walk is defined.
BookmarkRecord* WalkForConflict(const std::vector<BookmarkRecord*>& list,
                                const BookmarkRecord* bookmark, const BookmarkRecord* skip) {
    for (BookmarkRecord* record : list) {
        if (record == bookmark) return record;
        if (record == skip || !record) continue;
        if (SameName(record->title, bookmark->title)) return record;
    }
    return nullptr;
}

}  // namespace

TitleIndex& CBookmarkStore::CurrentIndex(ClassRecord* classItem) {
    TitleIndex& index = classItem->titleIndex_;
    const std::uint64_t epoch = titleEpoch_.load();
    if (!index.IsCurrent(classItem->bookmarks.size(), epoch)) index.Rebuild(classItem->bookmarks, epoch);
    return index;
}

BookmarkRecord* CBookmarkStore::FindBookmark(ClassRecord* classItem, const BookmarkRecord* bookmark,
                                             const BookmarkRecord* skip) {
    if (!classItem || classItem == &root_ || !bookmark) return nullptr;
    const std::vector<BookmarkRecord*>& list = classItem->bookmarks;
    if (list.size() < kIndexFromSize) return WalkForConflict(list, bookmark, skip);

    BookmarkRecord* first = nullptr;
    std::size_t matches = 0;
    CurrentIndex(classItem).ForEachSame(bookmark->title, [&](BookmarkRecord* record) {
        if (record == skip && record != bookmark) return;
        if (!first) first = record;
        ++matches;
    });
    if (matches <= 1) return first;
    // Several records share the title (a file may bring such): the first in
    // list order wins, as a walk would find it.
    return WalkForConflict(list, bookmark, skip);
}

bool CBookmarkStore::AddBookmark(ClassRecord* classItem, BookmarkRecord* after, BookmarkRecord* bookmark) {
    if (!classItem || classItem == &root_ || !bookmark) return false;
    if (FindBookmark(classItem, bookmark, nullptr)) return false;
    MarkChanged();
    std::vector<BookmarkRecord*>& list = classItem->bookmarks;
    TitleIndex& index = classItem->titleIndex_;
    const bool indexed = index.IsCurrent(list.size(), titleEpoch_.load());
    // Callers usually insert near the end (after the one added last).
    auto pos = list.end();
    if (after) {
        auto found = std::find(list.rbegin(), list.rend(), after);
        if (found != list.rend()) pos = found.base();
    }
    list.insert(pos, bookmark);
    if (indexed) index.Insert(bookmark);
    return true;
}

void CBookmarkStore::ReplaceBookmarkUrl(BookmarkRecord* bookmark, std::string url) {
    if (!bookmark) return;
    bookmark->url = std::move(url);
    MarkChanged();
}

bool CBookmarkStore::DiscardBookmark(ClassRecord* classItem, BookmarkRecord* bookmark) {
    MarkChanged();
    if (!classItem || classItem == &root_ || !bookmark) return false;
    std::vector<BookmarkRecord*>& list = classItem->bookmarks;
    auto found = std::find(list.begin(), list.end(), bookmark);
    if (found == list.end()) return false;
    TitleIndex& index = classItem->titleIndex_;
    if (index.IsCurrent(list.size(), titleEpoch_.load())) {
        if (!index.Erase(bookmark)) index.Reset();
    }
    list.erase(found);
    delete bookmark;
    return true;
}

std::size_t CBookmarkStore::DiscardBookmarks(ClassRecord* classItem, const std::vector<BookmarkRecord*>& doomed) {
    if (!classItem || classItem == &root_ || doomed.empty()) return 0;
    MarkChanged();
    const std::unordered_set<const BookmarkRecord*> leaving(doomed.begin(), doomed.end());
    std::vector<BookmarkRecord*>& list = classItem->bookmarks;
    std::vector<BookmarkRecord*> removed;
    auto kept = std::stable_partition(list.begin(), list.end(),
                                      [&](const BookmarkRecord* b) { return leaving.count(b) == 0; });
    removed.assign(kept, list.end());
    list.erase(kept, list.end());
    // Rebuilt by the next lookup, once instead of one erase per record.
    classItem->titleIndex_.Reset();
    for (BookmarkRecord* bookmark : removed) delete bookmark;
    return removed.size();
}

std::vector<BookmarkRecord*> CBookmarkStore::PickRandomBookmarks(std::size_t n) {
    std::mt19937_64 random = MakeSeededGenerator();
    return PickRandomBookmarks(n, random);
}

std::vector<BookmarkRecord*> CBookmarkStore::PickRandomBookmarks(std::size_t n, std::mt19937_64& random) {
    std::vector<BookmarkRecord*> result;
    const std::size_t total = TotalBookmarks();
    if (n == 0 || total == 0) return result;
    const std::vector<std::size_t> picked = SampleSortedIndices(total, n, random);
    result.reserve(picked.size());
    auto next = picked.begin();
    std::size_t base = 0;  // number of the category's first bookmark
    for (ClassRecord* c = root_.firstChild_; c && next != picked.end(); c = NextInPreOrder(c, &root_)) {
        const std::size_t count = c->bookmarks.size();
        while (next != picked.end() && *next < base + count) {
            result.push_back(c->bookmarks[*next - base]);
            ++next;
        }
        base += count;
    }
    return result;
}
