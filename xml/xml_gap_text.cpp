#include "xml_gap_text.h"

#include <algorithm>
#include <cstring>

void GapText::MoveGap(std::size_t offset) const {
    if (gapLength_) {
        char* b = buf_.data();
        if (offset < gapAt_) std::memmove(b + offset + gapLength_, b + offset, gapAt_ - offset);
        else if (offset > gapAt_) std::memmove(b + gapAt_, b + gapAt_ + gapLength_, offset - gapAt_);
    }
    gapAt_ = offset;
}

const std::string& GapText::Flat() const {
    if (gapLength_) {
        std::size_t size = Size();
        MoveGap(size);
        buf_.resize(size);
        gapLength_ = 0;
    }
    return buf_;
}

const char* GapText::Range(std::size_t begin, std::size_t end) const {
    if (gapLength_ && begin < gapAt_ && gapAt_ < end) MoveGap(gapAt_ - begin < end - gapAt_ ? begin : end);
    return buf_.data() + (begin < gapAt_ ? begin : begin + gapLength_);
}

void GapText::Replace(std::size_t offset, std::size_t removed, std::string_view inserted) {
    MoveGap(offset);
    if (inserted.size() > gapLength_ + removed) {
        // Room for this insertion and some more, so that a run of insertions
        // at one place moves the rest of the text only now and then. Nothing
        // of the text changes before this can fail.
        std::size_t extra = inserted.size() - gapLength_ - removed + std::min<std::size_t>(Size() / 4, 1 << 20) + 256;
        buf_.insert(gapAt_ + gapLength_, extra, '\0');
        gapLength_ += extra;
    }
    gapLength_ += removed;
    std::memcpy(buf_.data() + gapAt_, inserted.data(), inserted.size());
    gapAt_ += inserted.size();
    gapLength_ -= inserted.size();
}
