// CXmlDocument::CheckIndex: the index against the text, for tests and fuzzing.
#include "xml_impl.h"

#include <string>

namespace {

bool Fail(std::string* problem, std::uint32_t pos, const char* what) {
    if (problem) *problem = "element " + std::to_string(pos) + ": " + what;
    return false;
}

}  // namespace

bool CXmlDocument::CheckIndex(std::string* problem) const {
    const Impl& d = *impl_;
    const ElementIndex& e = d.elements;
    const std::string& t = d.text.Flat();
    if (e[0].start != 0 || e.Length(0) != t.size()) return Fail(problem, 0, "does not span the text");
    if (e.Ordered()) {
        for (std::uint32_t pos = 2; pos < e.Count(); ++pos)
            if (e[pos].start <= e[pos - 1].start) return Fail(problem, pos, "out of document order");
    }
    std::uint32_t seen = 0;
    // Pre-order walk without recursion.
    std::uint32_t n = 0;
    for (;;) {
        const XmlElementPos& r = e[n];
        const std::uint32_t length = e.Length(n);
        std::uint64_t end = std::uint64_t{r.start} + length;
        if (end > t.size()) return Fail(problem, n, "runs past the text");
        if (n != 0) {
            ++seen;
            if (seen >= e.Count()) return Fail(problem, n, "links loop");
            if (r.startTagLength < 3 || r.startTagLength > length) return Fail(problem, n, "bad start tag length");
            if (t[r.start] != '<' || t[r.start + r.startTagLength - 1] != '>')
                return Fail(problem, n, "start tag not at '<' ... '>'");
            if (r.endTagLength) {
                std::uint64_t endTag = end - r.endTagLength;
                if (r.endTagLength < 3 || endTag < std::uint64_t{r.start} + r.startTagLength ||
                    t[endTag] != '<' || t[endTag + 1] != '/' || t[end - 1] != '>')
                    return Fail(problem, n, "end tag not at '</' ... '>'");
            } else if (length != r.startTagLength) {
                return Fail(problem, n, "content without an end tag");
            }
            if (((r.flags & kEmptyTag) != 0) && t[r.start + r.startTagLength - 2] != '/')
                return Fail(problem, n, "empty element without '/>'");
        }
        // Children: in order, inside the content, linked both ways.
        std::uint64_t from = std::uint64_t{r.start} + (n ? r.startTagLength : 0);
        std::uint64_t limit = end - r.endTagLength;
        std::uint32_t last = 0;
        for (std::uint32_t c = r.firstChild; c; c = e[c].nextSibling) {
            const XmlElementPos& rc = e[c];
            if (rc.parentPos != n) return Fail(problem, c, "wrong parent");
            if (c != r.firstChild && rc.prevSibling != last) return Fail(problem, c, "wrong previous sibling");
            if (rc.start < from || std::uint64_t{rc.start} + e.Length(c) > limit)
                return Fail(problem, c, "outside its parent or overlapping its sibling");
            from = std::uint64_t{rc.start} + e.Length(c);
            last = c;
            if (from > t.size()) return Fail(problem, c, "runs past the text");
        }
        if (r.firstChild && e[r.firstChild].prevSibling != last)
            return Fail(problem, n, "first child does not point at the last");
        // Next in pre-order.
        if (r.firstChild) {
            n = r.firstChild;
            continue;
        }
        while (n != 0 && !e[n].nextSibling) n = e[n].parentPos;
        if (n == 0) break;
        n = e[n].nextSibling;
    }
    if (seen + 1 != e.Count()) return Fail(problem, 0, "records not reachable from the document");
    return true;
}
