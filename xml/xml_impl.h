// The state behind CXmlDocument, shared by its source files.
#pragma once

#include "xml_document.h"
#include "xml_gap_text.h"
#include "xml_index.h"

#include <cstdint>
#include <string>
#include <string_view>

struct CXmlDocument::Impl {
    GapText text;
    std::string result;
    ElementIndex elements;
    std::uint32_t parent = 0;
    std::uint32_t current = 0;
    std::uint32_t child = 0;
    bool wellFormed = false;
    // The text ends inside an unterminated node, which would swallow
    // anything appended to it.
    bool openEnd = false;
    // Reused for the text an edit inserts, so that writers building a large
    // document do not allocate for every attribute.
    std::string scratch;
    void TrimScratch() {
        if (scratch.capacity() > (1u << 20)) std::string().swap(scratch);
    }

    // Parses `text` into `elements` and sets `result` and `wellFormed`.
    void Parse();
    // Empties the index after a failure (such as running out of memory).
    void Fail(const char* message);

    std::string_view NameOf(std::uint32_t pos) const;
    // The start tag of `pos`: `begin` at its '<', `end` at its '>', or at
    // the '/' of an empty element's "/>", which then ends every value and
    // stays in place whatever an edit inserts. Valid until the text is read
    // or changed again.
    struct TagView {
        const char* begin;
        const char* end;
    };
    TagView Tag(std::uint32_t pos) const {
        const XmlElementPos& r = elements[pos];
        const char* begin = text.Range(r.start, std::size_t{r.start} + r.startTagLength);
        return {begin, begin + r.startTagLength - ((r.flags & kEmptyTag) ? 2 : 1)};
    }
    // The next sibling at or after `from` whose name matches `name`.
    std::uint32_t FindSibling(std::uint32_t from, std::string_view name) const;

    // Replaces [offset, offset + removed) of the text with `inserted`; false
    // when the document would grow beyond what the index can address.
    bool Replace(std::size_t offset, std::size_t removed, std::string_view inserted);

    // Where AddElement puts `piece` (the new element and CR LF); false when
    // there is no sound place for it.
    struct Placement;
    bool Place(const std::string& piece, Placement& at);
};

// Documents are addressed with 32-bit offsets.
constexpr std::size_t kMaxTextLength = 0xFFFFFFF0u;
