// CXmlDocument: editing. Every edit replaces one range of the text, then
// moves the starts of the elements after it and grows the elements around
// it; elements before the edit are not touched, so appending stays cheap.
#include "xml_impl.h"
#include "xml_scan.h"

#include <new>

using namespace xmlscan;

namespace {

constexpr char kLineEnd[] = "\r\n";

std::uint32_t Delta(std::size_t added, std::size_t removed) {
    return static_cast<std::uint32_t>(added) - static_cast<std::uint32_t>(removed);
}

}  // namespace

bool CXmlDocument::SetAttribute(std::string_view name, std::string_view value) {
    Impl& d = *impl_;
    if (!d.current || !IsWritableName(name, false)) return false;
    try {
        Impl::TagView tag = d.Tag(d.current);
        AttributeSpan span = FindAttribute(Classes(), tag.begin, tag.end, name);
        const std::size_t tagOffset = d.elements[d.current].start;
        std::string& piece = d.scratch;
        piece.clear();
        std::size_t offset, removed = 0;
        if (span.found) {
            offset = tagOffset + static_cast<std::size_t>(span.valueBegin - tag.begin);
            removed = static_cast<std::size_t>(span.valueEnd - span.valueBegin);
        } else {
            offset = tagOffset + static_cast<std::size_t>(span.insertAt - tag.begin);
            piece += ' ';
            piece += name;
            piece += '=';
        }
        piece += '"';
        AppendEscaped(value, true, piece);
        piece += '"';
        bool replaced = d.Replace(offset, removed, piece);
        std::uint32_t delta = Delta(piece.size(), removed);
        d.TrimScratch();
        if (!replaced) return false;
        ElementIndex& e = d.elements;
        e[d.current].startTagLength += delta;
        if (e.Ordered()) {
            e.ShiftStartsFrom(static_cast<std::uint32_t>(offset + removed), delta);
        } else {
            e.ShiftDescendants(d.current, delta);
            e.ShiftFollowing(d.current, delta);
        }
        e.GrowAround(d.current, delta);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Where a new element goes (after current, before the parent's end tag with
// an empty parent opened first, or at the end of the text): the text to
// insert, what it replaces, and where the new element starts within it.
struct CXmlDocument::Impl::Placement {
    std::size_t offset = 0;
    std::size_t removed = 0;
    std::string opened;                // used when an empty parent is opened
    std::string_view inserted;
    std::size_t nodeOffset = 0;        // of the new element's '<' in `inserted`
    std::uint32_t container = 0;       // the element around the edit
    std::size_t parentNameLength = 0;  // when the parent is opened
};

bool CXmlDocument::Impl::Place(const std::string& piece, Placement& at) {
    if (current) {
        // After current, past white space that runs up to the next tag.
        std::size_t place = elements.End(current);
        std::size_t q = place;
        while (q < text.Size() && IsSpace(text.At(q))) ++q;
        if (q == text.Size() || text.At(q) == '<') place = q;
        at.offset = place;
        at.inserted = piece;
        at.container = elements[current].parentPos;
        return true;
    }
    if (!parent) {
        // Top level: at the end of the text, unless that lies inside an
        // unterminated node which would swallow the new element.
        if (openEnd) return false;
        at.offset = text.Size();
        at.inserted = piece;
        at.container = 0;
        return true;
    }
    const XmlElementPos& p = elements[parent];
    at.container = parent;
    if (p.flags & kNotEnded) return false;  // where it ends is not known
    if (p.flags & kEmptyTag) {
        // "<p .../>" becomes "<p ...>" CR LF piece "</p": the '/' is replaced
        // and the old '>' closes the new end tag.
        at.opened.assign(1, '>');
        at.opened += kLineEnd;
        at.opened += piece;
        at.opened += "</";
        at.opened += NameOf(parent);
        at.parentNameLength = NameOf(parent).size();
        at.offset = std::size_t{p.start} + p.startTagLength - 2;
        at.removed = 1;
        at.inserted = at.opened;
        at.nodeOffset = 3;
        return true;
    }
    // Before the end tag; an element with nothing inside gets a line break
    // first, so that the new element starts a line of its own.
    at.offset = elements.End(parent) - p.endTagLength;
    if (elements.Length(parent) == p.startTagLength + p.endTagLength) {
        at.opened = kLineEnd;
        at.opened += piece;
        at.inserted = at.opened;
        at.nodeOffset = 2;
    } else {
        at.inserted = piece;
    }
    return true;
}

bool CXmlDocument::AddElement(std::string_view name, std::string_view text, int /*flags*/) {
    Impl& d = *impl_;
    if (!IsWritableName(name, true)) return false;
    try {
        // The markup, then CR LF.
        std::string& piece = d.scratch;
        piece.clear();
        piece += '<';
        piece += name;
        std::uint32_t startTag, endTag = 0;
        if (text.empty()) {
            piece += "/>";
            startTag = static_cast<std::uint32_t>(piece.size());
        } else {
            piece += '>';
            startTag = static_cast<std::uint32_t>(piece.size());
            AppendEscaped(text, false, piece);
            piece += "</";
            piece += name;
            piece += '>';
            endTag = static_cast<std::uint32_t>(name.size() + 3);
        }
        std::uint32_t markup = static_cast<std::uint32_t>(piece.size());
        piece += kLineEnd;

        Impl::Placement at;
        ElementIndex& e = d.elements;
        e.ReserveOne();  // after this nothing can fail once the text changed
        bool placed = d.Place(piece, at) && d.Replace(at.offset, at.removed, at.inserted);
        std::uint32_t delta = Delta(at.inserted.size(), at.removed);
        d.TrimScratch();  // `piece` and `at.inserted` are not used after this
        if (!placed) return false;

        bool ordered = e.Ordered();
        bool movedOthers = ordered && e.ShiftStartsFrom(static_cast<std::uint32_t>(at.offset + at.removed), delta);
        std::uint32_t node = e.Add();
        XmlElementPos& r = e[node];
        r.start = static_cast<std::uint32_t>(at.offset + at.nodeOffset);
        r.length = markup;
        r.startTagLength = startTag;
        r.endTagLength = endTag;
        if (!endTag) r.flags |= kEmptyTag;
        if (d.current) e.InsertAfter(d.current, node);
        else e.AppendChild(d.parent, node);
        if (movedOthers) e.SetUnordered();  // the new record is not the last in the text
        if (!ordered) e.ShiftFollowing(node, delta);
        if (at.removed) {
            // The parent was opened: its '/' went, its end tag came.
            XmlElementPos& p = e[d.parent];
            p.flags &= static_cast<std::uint8_t>(~kEmptyTag);
            p.startTagLength -= 1;
            p.endTagLength = static_cast<std::uint32_t>(at.parentNameLength + 3);
        }
        e.GrowAround(at.container, delta);
        d.current = node;
        d.child = 0;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
