// The document text as a gap buffer: one byte string with a gap of unused
// bytes at the place of the last edit. Writers insert again and again just
// before the end tags of every open element; with the gap there, an insertion
// costs its own length instead of moving all the text after it.
//
// Offsets are those of the text without the gap. Reading a range first makes
// it contiguous (moving the gap out of it, which costs at most the range's
// length); Flat() closes the gap for callers that want the whole text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class GapText {
public:
    void Assign(std::string&& text) {
        buf_ = std::move(text);
        gapAt_ = gapLength_ = 0;
    }
    void Clear() {
        buf_.clear();
        gapAt_ = gapLength_ = 0;
    }
    std::size_t Size() const { return buf_.size() - gapLength_; }

    // The whole text, contiguous.
    const std::string& Flat() const;
    // The whole text, contiguous and writable in place.
    char* FlatData() {
        Flat();
        return buf_.data();
    }
    // Hands the whole text over, contiguous; the text is left empty.
    std::string Take() {
        Flat();
        std::string taken = std::move(buf_);
        Clear();
        return taken;
    }
    // The bytes [begin, end), contiguous; valid until the next call of any
    // member.
    const char* Range(std::size_t begin, std::size_t end) const;
    char At(std::size_t offset) const { return buf_[offset < gapAt_ ? offset : offset + gapLength_]; }

    // Replaces [offset, offset + removed) with `inserted` (which must not
    // point into this text).
    void Replace(std::size_t offset, std::size_t removed, std::string_view inserted);

private:
    void MoveGap(std::size_t offset) const;

    // Mutable: moving the gap changes where bytes lie, not the text.
    mutable std::string buf_;
    mutable std::size_t gapAt_ = 0;
    mutable std::size_t gapLength_ = 0;
};
