// Finds the bookmarks of one category by title without walking the whole
// list, so that importing thousands of bookmarks into one category is not
// quadratic. An open-addressing table keyed by the folded title hash with
// one slot per distinct title: bookmarks that share a title (pages imported
// as "Untitled", empty titles) share its slot, the first in the slot itself
// and the others in a side list of that title, so that however many share
// one title, inserting one never walks past the others.
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
        const Slot* slot = Find(title, FoldedNameHash(title));
        if (!slot) return;
        visit(slot->record);
        if (slot->others == kNone) return;
        for (BookmarkRecord* record : others_[slot->others]) visit(record);
    }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Slot {
        BookmarkRecord* record = nullptr;  // none: the slot is free
        std::uint32_t hash = 0;
        std::uint32_t others = kNone;      // the title's other records in others_
    };
    const Slot* Find(std::string_view title, std::uint32_t hash) const;
    Slot* Find(std::string_view title, std::uint32_t hash) {
        return const_cast<Slot*>(static_cast<const TitleIndex*>(this)->Find(title, hash));
    }
    void Place(const Slot& slot);
    void Resize(std::size_t slotCount);
    bool EraseFrom(Slot& slot, BookmarkRecord* record);
    void FreeSlot(std::size_t i);

    std::vector<Slot> slots_;  // size is zero or a power of two
    std::size_t used_ = 0;     // slots in use: distinct titles
    std::size_t count_ = 0;    // records
    // Lists of the records that share a title with a slot's own record; an
    // emptied list is reused through freeOthers_.
    std::vector<std::vector<BookmarkRecord*>> others_;
    std::vector<std::uint32_t> freeOthers_;
    std::uint64_t epoch_ = 0;
    bool built_ = false;
};
