#include "xml_index.h"

#include <algorithm>
#include <cstring>

void ElementIndex::Reset(std::size_t textLength) {
    blocks_.clear();
    count_ = 0;
    lastCapacity_ = 0;
    std::size_t wanted = textLength / 64 + 8;
    firstCapacity_ = static_cast<std::uint32_t>(std::min<std::size_t>(wanted, kBlockSize));
    std::uint32_t root = Add();
    (*this)[root].length = static_cast<std::uint32_t>(textLength);
}

std::uint32_t ElementIndex::Add() {
    std::uint32_t pos = count_;
    std::uint32_t slot = pos & (kBlockSize - 1);
    if (slot == 0) {
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
    ++count_;
    XmlElementPos& r = (*this)[pos];
    std::memset(&r, 0, sizeof r);
    return pos;
}

std::uint32_t ElementIndex::LastChild(std::uint32_t parent) const {
    std::uint32_t first = (*this)[parent].firstChild;
    return first ? (*this)[first].prevSibling : 0;
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

void ElementIndex::ShiftFollowing(std::uint32_t node, std::uint32_t delta) {
    for (std::uint32_t n = node; n != 0; n = (*this)[n].parentPos)
        for (std::uint32_t s = (*this)[n].nextSibling; s; s = (*this)[s].nextSibling) ShiftSubtree(s, delta);
}

void ElementIndex::ShiftDescendants(std::uint32_t node, std::uint32_t delta) {
    for (std::uint32_t c = (*this)[node].firstChild; c; c = (*this)[c].nextSibling) ShiftSubtree(c, delta);
}

void ElementIndex::GrowEnclosing(std::uint32_t node, std::uint32_t delta) {
    for (std::uint32_t n = node;; n = (*this)[n].parentPos) {
        (*this)[n].length += delta;
        if (n == 0) return;
    }
}
