#include "title_index.h"

#include <algorithm>
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
    Reset();
    slots_.assign(SlotsFor(list.size()), Slot{});
    for (BookmarkRecord* record : list) {
        if (record) Insert(record);
    }
    epoch_ = epoch;
    built_ = true;
}

void TitleIndex::Reset() {
    std::vector<Slot>().swap(slots_);
    std::vector<std::vector<BookmarkRecord*>>().swap(others_);
    std::vector<std::uint32_t>().swap(freeOthers_);
    used_ = 0;
    count_ = 0;
    built_ = false;
}

const TitleIndex::Slot* TitleIndex::Find(std::string_view title, std::uint32_t hash) const {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i].record; i = (i + 1) & mask) {
        if (slots_[i].hash == hash && SameName(slots_[i].record->title, title)) return &slots_[i];
    }
    return nullptr;
}

void TitleIndex::Insert(BookmarkRecord* record) {
    const std::uint32_t hash = FoldedNameHash(record->title);
    if (Slot* slot = Find(record->title, hash)) {
        if (slot->others == kNone) {
            if (freeOthers_.empty()) {
                slot->others = static_cast<std::uint32_t>(others_.size());
                others_.emplace_back();
            } else {
                slot->others = freeOthers_.back();
                freeOthers_.pop_back();
            }
        }
        others_[slot->others].push_back(record);
        ++count_;
        return;
    }
    if (slots_.size() < SlotsFor(used_ + 1)) Resize(SlotsFor(used_ + 1));
    Place(Slot{record, hash, kNone});
    ++used_;
    ++count_;
}

bool TitleIndex::Erase(BookmarkRecord* record) {
    if (slots_.empty()) return false;
    if (Slot* slot = Find(record->title, FoldedNameHash(record->title))) {
        if (EraseFrom(*slot, record)) return true;
    }
    // The title changed since the record was indexed: look by pointer.
    for (Slot& slot : slots_) {
        if (slot.record && EraseFrom(slot, record)) return true;
    }
    return false;
}

// Removes `record` from the title of `slot`; false when it is not there.
bool TitleIndex::EraseFrom(Slot& slot, BookmarkRecord* record) {
    if (slot.record != record) {
        if (slot.others == kNone) return false;
        std::vector<BookmarkRecord*>& others = others_[slot.others];
        auto found = std::find(others.begin(), others.end(), record);
        if (found == others.end()) return false;
        *found = others.back();
        others.pop_back();
    } else if (slot.others != kNone) {
        std::vector<BookmarkRecord*>& others = others_[slot.others];
        slot.record = others.back();
        others.pop_back();
    } else {
        FreeSlot(static_cast<std::size_t>(&slot - slots_.data()));
        --used_;
        --count_;
        return true;
    }
    if (others_[slot.others].empty()) {
        freeOthers_.push_back(slot.others);
        slot.others = kNone;
    }
    --count_;
    return true;
}

void TitleIndex::FreeSlot(std::size_t i) {
    // Backward-shift deletion: pull later members of the probe run into the
    // hole when their home slot allows it, so that no tombstones are needed.
    const std::size_t mask = slots_.size() - 1;
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
