#include "xml_index.h"

#include <algorithm>
#include <cstring>

void ElementIndex::Reset(std::size_t textLength) {
    blocks_.clear();
    count_ = 0;
    lastCapacity_ = 0;
    ordered_ = true;
    spine_ = 0;
    pending_ = 0;
    std::size_t wanted = textLength / 64 + 8;
    firstCapacity_ = static_cast<std::uint32_t>(std::min<std::size_t>(wanted, kBlockSize));
    std::uint32_t root = Add();
    (*this)[root].length = static_cast<std::uint32_t>(textLength);
    (*this)[root].flags = kOnSpine;
}

void ElementIndex::ReserveOne() {
    std::uint32_t slot = count_ & (kBlockSize - 1);
    if (slot == 0 && (count_ >> kBlockBits) == blocks_.size()) {
        std::uint32_t capacity = blocks_.empty() ? firstCapacity_ : kBlockSize;
        blocks_.emplace_back(new XmlElementPos[capacity]);
        lastCapacity_ = capacity;
    } else if (slot == lastCapacity_) {
        // Only a block that started small grows, by half its records.
        std::uint32_t capacity = std::min<std::uint32_t>(kBlockSize, lastCapacity_ + std::max<std::uint32_t>(lastCapacity_ / 2, 8));
        std::unique_ptr<XmlElementPos[]> bigger(new XmlElementPos[capacity]);
        std::memcpy(bigger.get(), blocks_.back().get(), sizeof(XmlElementPos) * lastCapacity_);
        blocks_.back() = std::move(bigger);
        lastCapacity_ = capacity;
    }
}

std::uint32_t ElementIndex::Add() {
    ReserveOne();
    std::uint32_t pos = count_;
    ++count_;
    XmlElementPos& r = (*this)[pos];
    std::memset(&r, 0, sizeof r);
    return pos;
}

void ElementIndex::AppendChild(std::uint32_t parent, std::uint32_t node) {
    XmlElementPos& p = (*this)[parent];
    XmlElementPos& n = (*this)[node];
    n.parentPos = parent;
    n.nextSibling = 0;
    if (!p.firstChild) {
        p.firstChild = node;
        n.prevSibling = node;
        return;
    }
    XmlElementPos& first = (*this)[p.firstChild];
    std::uint32_t last = first.prevSibling;
    (*this)[last].nextSibling = node;
    n.prevSibling = last;
    first.prevSibling = node;
}

void ElementIndex::InsertAfter(std::uint32_t sibling, std::uint32_t node) {
    XmlElementPos& s = (*this)[sibling];
    std::uint32_t next = s.nextSibling;
    if (!next) {
        AppendChild(s.parentPos, node);
        return;
    }
    XmlElementPos& n = (*this)[node];
    n.parentPos = s.parentPos;
    n.prevSibling = sibling;
    n.nextSibling = next;
    s.nextSibling = node;
    (*this)[next].prevSibling = node;
}

void ElementIndex::ShiftSubtree(std::uint32_t top, std::uint32_t delta) {
    // Pre-order without recursion: nesting may be arbitrarily deep.
    std::uint32_t n = top;
    for (;;) {
        XmlElementPos& r = (*this)[n];
        r.start += delta;
        if (r.firstChild) {
            n = r.firstChild;
            continue;
        }
        while (n != top && !(*this)[n].nextSibling) n = (*this)[n].parentPos;
        if (n == top) return;
        n = (*this)[n].nextSibling;
    }
}

bool ElementIndex::ShiftStartsFrom(std::uint32_t offset, std::uint32_t delta) {
    // Appending after everything: the common case, answered by the last record.
    if (count_ == 1 || (*this)[count_ - 1].start < offset) return false;
    // Positions 1.. are sorted by start: find the first at or after `offset`.
    std::uint32_t lo = 1, hi = count_ - 1;
    while (lo < hi) {
        std::uint32_t mid = lo + (hi - lo) / 2;
        if ((*this)[mid].start < offset) lo = mid + 1;
        else hi = mid;
    }
    for (std::uint32_t pos = lo; pos < count_; ++pos) (*this)[pos].start += delta;
    return lo < count_;
}

void ElementIndex::ShiftFollowing(std::uint32_t node, std::uint32_t delta) {
    for (std::uint32_t n = node; n != 0; n = (*this)[n].parentPos)
        for (std::uint32_t s = (*this)[n].nextSibling; s; s = (*this)[s].nextSibling) ShiftSubtree(s, delta);
}

void ElementIndex::ShiftDescendants(std::uint32_t node, std::uint32_t delta) {
    for (std::uint32_t c = (*this)[node].firstChild; c; c = (*this)[c].nextSibling) ShiftSubtree(c, delta);
}

void ElementIndex::GrowAround(std::uint32_t node, std::uint32_t delta) {
    MoveSpine(node);
    pending_ += delta;
}

// Makes the spine run from `node` up to position 0. Elements leaving it get
// the pending growth added; elements joining it get it taken off, since they
// have not grown with it. Costs the distance between the old and new bottom.
void ElementIndex::MoveSpine(std::uint32_t node) {
    std::uint32_t meet = node;
    while (!((*this)[meet].flags & kOnSpine)) meet = (*this)[meet].parentPos;
    for (std::uint32_t n = spine_; n != meet; n = (*this)[n].parentPos) {
        XmlElementPos& r = (*this)[n];
        r.length += pending_;
        r.flags &= static_cast<std::uint8_t>(~kOnSpine);
    }
    for (std::uint32_t n = node; n != meet; n = (*this)[n].parentPos) {
        XmlElementPos& r = (*this)[n];
        r.length -= pending_;
        r.flags |= kOnSpine;
    }
    spine_ = node;
}
