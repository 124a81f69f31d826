// CXmlDocument: editing. Every edit replaces one range of the text, then moves
// the offsets of the elements after it and the lengths of the elements around
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
        AttributeSpan span = FindAttribute(Classes(), d.TagBegin(d.current), d.TagEnd(d.current), name);
        std::string& piece = d.scratch;
        piece.clear();
        std::size_t offset, removed = 0;
        if (span.found) {
            offset = static_cast<std::size_t>(span.valueBegin - d.text.data());
            removed = static_cast<std::size_t>(span.valueEnd - span.valueBegin);
        } else {
            offset = static_cast<std::size_t>(span.insertAt - d.text.data());
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
        d.elements[d.current].startTagLength += delta;
        d.elements.GrowEnclosing(d.current, delta);
        d.elements.ShiftDescendants(d.current, delta);
        d.elements.ShiftFollowing(d.current, delta);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Right after `current`, past white space that runs up to the next tag.
bool CXmlDocument::Impl::PlaceAfterCurrent(std::uint32_t node, const std::string& piece) {
    const XmlElementPos& c = elements[current];
    std::size_t place = std::size_t{c.start} + c.length;
    std::size_t q = place;
    while (q < text.size() && IsSpace(text[q])) ++q;
    if (q == text.size() || text[q] == '<') place = q;
    if (!Replace(place, 0, piece)) return false;
    std::uint32_t container = elements[current].parentPos;
    elements[node].start = static_cast<std::uint32_t>(place);
    elements.InsertAfter(current, node);
    elements.GrowEnclosing(container, Delta(piece.size(), 0));
    elements.ShiftFollowing(node, Delta(piece.size(), 0));
    return true;
}

// As the last child of `parent`, opening it first when it is written "/>".
bool CXmlDocument::Impl::PlaceLastChild(std::uint32_t node, const std::string& piece) {
    XmlElementPos p = elements[parent];
    if (p.flags & kNotEnded) return false;  // where it ends is not known
    if (p.flags & kEmptyTag) {
        // "<p .../>" becomes "<p ...>" CR LF piece "</p>": the '/' is replaced
        // and the old '>' closes the new end tag.
        std::string name(NameOf(parent));
        std::string opened;
        opened.reserve(piece.size() + name.size() + 5);
        opened += '>';
        opened += kLineEnd;
        opened += piece;
        opened += "</";
        opened += name;
        std::size_t slash = std::size_t{p.start} + p.startTagLength - 2;
        if (!Replace(slash, 1, opened)) return false;
        std::uint32_t delta = Delta(opened.size(), 1);
        XmlElementPos& r = elements[parent];
        r.flags &= static_cast<std::uint8_t>(~kEmptyTag);
        r.startTagLength -= 1;
        r.endTagLength = static_cast<std::uint32_t>(name.size() + 3);
        elements[node].start = static_cast<std::uint32_t>(slash + 3);
        elements.AppendChild(parent, node);
        elements.GrowEnclosing(parent, delta);
        elements.ShiftFollowing(parent, delta);
        return true;
    }
    // Before the end tag; an element with nothing inside gets a line break
    // first, so that the new element starts a line of its own.
    std::size_t place = std::size_t{p.start} + p.length - p.endTagLength;
    bool hollow = p.length == p.startTagLength + p.endTagLength;
    std::string_view lead = hollow ? std::string_view(kLineEnd) : std::string_view();
    std::string inserted;
    inserted.reserve(lead.size() + piece.size());
    inserted += lead;
    inserted += piece;
    if (!Replace(place, 0, inserted)) return false;
    elements[node].start = static_cast<std::uint32_t>(place + lead.size());
    elements.AppendChild(parent, node);
    elements.GrowEnclosing(parent, Delta(inserted.size(), 0));
    elements.ShiftFollowing(node, Delta(inserted.size(), 0));
    return true;
}

bool CXmlDocument::AddElement(std::string_view name, std::string_view text, int /*flags*/) {
    Impl& d = *impl_;
    if (!IsWritableName(name, true)) return false;
    std::uint32_t node = 0;
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

        node = d.elements.Add();
        XmlElementPos& r = d.elements[node];
        r.length = markup;
        r.startTagLength = startTag;
        r.endTagLength = endTag;
        if (!endTag) r.flags |= kEmptyTag;

        bool placed;
        if (d.current) {
            placed = d.PlaceAfterCurrent(node, piece);
        } else if (d.parent) {
            placed = d.PlaceLastChild(node, piece);
        } else if ((placed = !d.openEnd && d.Replace(d.text.size(), 0, piece))) {
            // Top level: at the end of the text.
            d.elements[node].start = static_cast<std::uint32_t>(d.text.size() - piece.size());
            d.elements.AppendChild(0, node);
            d.elements.GrowEnclosing(0, Delta(piece.size(), 0));
        }
        d.TrimScratch();
        if (!placed) {
            d.elements.DropLast();
            return false;
        }
    } catch (const std::bad_alloc&) {
        // Nothing links to the new record until the text has changed.
        if (node) d.elements.DropLast();
        return false;
    }
    d.current = node;
    d.child = 0;
    return true;
}
