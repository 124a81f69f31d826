// The element index of a CXmlDocument: one record per element, addressed by
// position number, position 0 being the document itself (and "none").
//
// Records live in blocks of 65,536 so that growing copies at most one block.
// The tree is kept in links only; an element's range always encloses exactly
// the ranges of its descendants, which is what lets an edit touch only the
// elements after it and the ones around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct XmlElementPos {
    std::uint32_t start;           // offset of the element's '<'
    std::uint32_t length;          // up to the end of the end tag (or start tag)
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
    kEmptyTag = 4    // written as "<name .../>"
};

class ElementIndex {
public:
    static constexpr unsigned kBlockBits = 16;
    static constexpr std::uint32_t kBlockSize = 1u << kBlockBits;

    // Empties the index and makes position 0 span `textLength` bytes, with
    // room for about one record per 64 bytes of text.
    void Reset(std::size_t textLength);
    // A new record, zeroed; its position.
    std::uint32_t Add();
    std::uint32_t Count() const { return count_; }
    // Takes back the record Add made last, before anything links to it.
    void DropLast() { --count_; }

    XmlElementPos& operator[](std::uint32_t pos) { return blocks_[pos >> kBlockBits][pos & (kBlockSize - 1)]; }
    const XmlElementPos& operator[](std::uint32_t pos) const {
        return blocks_[pos >> kBlockBits][pos & (kBlockSize - 1)];
    }

    std::uint32_t LastChild(std::uint32_t parent) const;
    void AppendChild(std::uint32_t parent, std::uint32_t node);
    void InsertAfter(std::uint32_t sibling, std::uint32_t node);

    // Moves `delta` (modulo 2^32) onto `start` of every element after the
    // subtree of `node` / of every descendant of `node`.
    void ShiftFollowing(std::uint32_t node, std::uint32_t delta);
    void ShiftDescendants(std::uint32_t node, std::uint32_t delta);
    // Adds `delta` to `length` of `node` and of every element around it.
    void GrowEnclosing(std::uint32_t node, std::uint32_t delta);

private:
    void ShiftSubtree(std::uint32_t top, std::uint32_t delta);

    std::vector<std::unique_ptr<XmlElementPos[]>> blocks_;
    std::uint32_t count_ = 0;
    std::uint32_t lastCapacity_ = 0;  // records the last block has room for
    std::uint32_t firstCapacity_ = 0;
};
