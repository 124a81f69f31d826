#include "title_index.h"

#include <utility>

namespace {

// Keeps the table at most half full so that misses stay short.
std::size_t SlotsFor(std::size_t count) {
    std::size_t slots = 16;
    while (slots < count * 2) slots *= 2;
    return slots;
}

}  // namespace

void TitleIndex::Rebuild(const std::vector<BookmarkRecord*>& list, std::uint64_t epoch) {
    slots_.assign(SlotsFor(list.size()), Slot{});
    count_ = 0;
    for (BookmarkRecord* record : list) {
        if (!record) continue;
        Place(Slot{record, FoldedNameHash(record->title)});
        ++count_;
    }
    epoch_ = epoch;
    built_ = true;
}

void TitleIndex::Reset() {
    std::vector<Slot>().swap(slots_);
    count_ = 0;
    built_ = false;
}

void TitleIndex::Insert(BookmarkRecord* record) {
    if (slots_.size() < SlotsFor(count_ + 1)) Resize(SlotsFor(count_ + 1));
    Place(Slot{record, FoldedNameHash(record->title)});
    ++count_;
}

bool TitleIndex::Erase(BookmarkRecord* record) {
    if (slots_.empty()) return false;
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = FoldedNameHash(record->title) & mask;
    while (slots_[i].record && slots_[i].record != record) i = (i + 1) & mask;
    if (slots_[i].record != record) {
        // The title changed since the record was indexed: look by pointer.
        i = 0;
        while (i < slots_.size() && slots_[i].record != record) ++i;
        if (i == slots_.size()) return false;
    }
    // Backward-shift deletion: pull later members of the probe run into the
    // hole when their home slot allows it, so that no tombstones are needed.
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & mask; slots_[j].record; j = (j + 1) & mask) {
        const std::size_t home = slots_[j].hash & mask;
        const bool homeBetween = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeBetween) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = Slot{};
    --count_;
    return true;
}

void TitleIndex::Place(const Slot& slot) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = slot.hash & mask;
    while (slots_[i].record) i = (i + 1) & mask;
    slots_[i] = slot;
}

void TitleIndex::Resize(std::size_t slotCount) {
    std::vector<Slot> old(slotCount);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.record) Place(slot);
    }
}
