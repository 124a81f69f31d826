// Finds the bookmarks of one category by title without walking the whole
// list, so that importing thousands of bookmarks into one category is not
// quadratic. An open-addressing table of record pointers keyed by the folded
// title hash; it allocates nothing per bookmark.
//
// The index describes the titles as they were when a record was inserted. The
// owner keeps it current: every insertion and removal goes through it, and an
// in-place edit of titles (signalled by an epoch change) or a list whose size
// no longer matches makes it stale, after which it is rebuilt from the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "bookmark_record.h"
#include "text_rules.h"

class TitleIndex {
public:
    // Whether the index still describes a list of `listSize` records at `epoch`.
    bool IsCurrent(std::size_t listSize, std::uint64_t epoch) const {
        return built_ && count_ == listSize && epoch_ == epoch;
    }
    void Rebuild(const std::vector<BookmarkRecord*>& list, std::uint64_t epoch);
    // Forgets everything and frees the table.
    void Reset();

    void Insert(BookmarkRecord* record);
    // Removes `record`, found by the hash of its title; false when absent.
    bool Erase(BookmarkRecord* record);
    std::size_t Size() const { return count_; }

    // Calls visit(record) for each indexed record whose title is the same as
    // `title` (SameName), in no particular order.
    template <class Visit>
    void ForEachSame(std::string_view title, Visit visit) const {
        if (slots_.empty()) return;
        const std::uint32_t hash = FoldedNameHash(title);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask; slots_[i].record; i = (i + 1) & mask) {
            if (slots_[i].hash == hash && SameName(slots_[i].record->title, title)) {
                visit(slots_[i].record);
            }
        }
    }

private:
    struct Slot {
        BookmarkRecord* record = nullptr;  // none: the slot is free
        std::uint32_t hash = 0;
    };
    void Place(const Slot& slot);
    void Resize(std::size_t slotCount);

    std::vector<Slot> slots_;  // size is zero or a power of two
    std::size_t count_ = 0;
    std::uint64_t epoch_ = 0;
    bool built_ = false;
};
