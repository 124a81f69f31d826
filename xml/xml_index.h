// The element index of a CXmlDocument: one record per element, addressed by
// position number, position 0 being the document itself (and "none").
//
// Records live in blocks of 65,536 so that growing copies at most one block.
// An element's range always encloses exactly the ranges of its descendants.
//
// Edits stay cheap near the end of the document, however deep it nests:
// - While records are in document order (after a parse, and as long as every
//   new element is added after all others, as writers do), the elements that
//   follow an edit are a suffix of the positions, found by binary search and
//   empty when appending. After an insertion elsewhere the tree links are
//   walked instead.
// - Lengths of the elements around an edit grow lazily: the chain from the
//   element last edited up to position 0 (the "spine") shares one pending
//   amount, so an edit pays only for the distance from the previous one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct XmlElementPos {
    std::uint32_t start;           // offset of the element's '<'
    std::uint32_t length;          // up to the end of the end tag (or start tag); use Length()
    std::uint32_t startTagLength;  // '<' to '>' inclusive
    std::uint32_t endTagLength;    // 0 for "/>" and for an element never ended
    std::uint32_t parentPos;
    std::uint32_t firstChild;
    std::uint32_t nextSibling;     // 0 for the last child
    std::uint32_t prevSibling;     // for the first child: the last child
    std::uint8_t flags;
};

enum : std::uint8_t {
    kNotEnded = 1,   // no end tag was found
    kHasError = 2,   // a malformed node was met inside
    kEmptyTag = 4,   // written as "<name .../>"
    kOnSpine = 8     // `length` lacks the spine's pending growth
};

class ElementIndex {
public:
    static constexpr unsigned kBlockBits = 16;
    static constexpr std::uint32_t kBlockSize = 1u << kBlockBits;

    // Empties the index and makes position 0 span `textLength` bytes, with
    // room for about one record per 64 bytes of text.
    void Reset(std::size_t textLength);
    // Makes sure the next Add cannot fail.
    void ReserveOne();
    // A new record, zeroed; its position.
    std::uint32_t Add();
    std::uint32_t Count() const { return count_; }

    XmlElementPos& operator[](std::uint32_t pos) { return blocks_[pos >> kBlockBits][pos & (kBlockSize - 1)]; }
    const XmlElementPos& operator[](std::uint32_t pos) const {
        return blocks_[pos >> kBlockBits][pos & (kBlockSize - 1)];
    }
    std::uint32_t Length(std::uint32_t pos) const {
        const XmlElementPos& r = (*this)[pos];
        return r.length + ((r.flags & kOnSpine) ? pending_ : 0);
    }
    std::uint32_t End(std::uint32_t pos) const { return (*this)[pos].start + Length(pos); }

    void AppendChild(std::uint32_t parent, std::uint32_t node);
    void InsertAfter(std::uint32_t sibling, std::uint32_t node);

    // Records are in document order: position numbers grow with `start`.
    bool Ordered() const { return ordered_; }
    void SetUnordered() { ordered_ = false; }
    // In document order: moves `delta` (modulo 2^32) onto `start` of every
    // element starting at or after `offset`; false when there was none.
    bool ShiftStartsFrom(std::uint32_t offset, std::uint32_t delta);
    // In any order: the same for every element after the subtree of `node`,
    // and for every descendant of `node`.
    void ShiftFollowing(std::uint32_t node, std::uint32_t delta);
    void ShiftDescendants(std::uint32_t node, std::uint32_t delta);
    // Adds `delta` to the length of `node` and of every element around it.
    void GrowAround(std::uint32_t node, std::uint32_t delta);

private:
    void ShiftSubtree(std::uint32_t top, std::uint32_t delta);
    void MoveSpine(std::uint32_t node);

    std::vector<std::unique_ptr<XmlElementPos[]>> blocks_;
    std::uint32_t count_ = 0;
    std::uint32_t lastCapacity_ = 0;  // records the last block has room for
    std::uint32_t firstCapacity_ = 0;
    bool ordered_ = true;
    std::uint32_t spine_ = 0;    // the deepest element of the spine
    std::uint32_t pending_ = 0;  // growth not yet added to the spine's lengths
};
