// One pass over the text: elements get index records, every other node is
// stepped over, and the first problem met is kept as the result message.
#include "xml_impl.h"
#include "xml_scan.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

using namespace xmlscan;

namespace {

struct OpenElement {
    std::uint32_t pos;
    std::uint32_t nameOffset;
    std::uint32_t nameLength;
};

class Parser {
public:
    Parser(const std::string& text, ElementIndex& index, std::string& result, bool& openEnd)
        : base_(text.data()), end_(text.data() + text.size()), cls_(Classes()), index_(index), result_(result),
          openEnd_(openEnd) {
        stack_.reserve(64);
        stack_.push_back({0, 0, 0});
    }

    // Returns false when something marked the document not well-formed.
    bool Run() {
        const char* p = base_;
        while (p < end_) {
            const char* lt = FindChar(cls_, p, end_, '<');
            if (lt == end_) break;
            p = Node(lt);
        }
        if (stack_.size() > 1) {
            const OpenElement& inner = stack_.back();
            Report([&] {
                return "Element '" + Name(inner) + "' at offset " + std::to_string(index_[inner.pos].start) +
                       " not ended";
            });
            notWellFormed_ = true;
            CloseAsNotEnded(0);
        }
        return !notWellFormed_;
    }

private:
    std::uint32_t Offset(const char* p) const { return static_cast<std::uint32_t>(p - base_); }
    std::string Name(const OpenElement& e) const { return std::string(base_ + e.nameOffset, e.nameLength); }
    std::string_view NameView(const OpenElement& e) const { return {base_ + e.nameOffset, e.nameLength}; }

    // Only the first message is kept, so later ones are not even composed
    // (a bad file can hold very many, with very long names).
    template <class MakeMessage>
    void Report(MakeMessage make) {
        if (result_.empty()) result_ = make();
    }
    // A malformed or unterminated node.
    template <class MakeMessage>
    void Malformed(MakeMessage make) {
        Report(make);
        notWellFormed_ = true;
        index_[stack_.back().pos].flags |= kHasError;
    }
    void Unterminated(const char* kind, const char* lt) {
        openEnd_ = true;
        Malformed([&] { return std::string(kind) + " at offset " + std::to_string(Offset(lt)) + " unterminated"; });
    }
    void Incorrect(const char* what, const char* lt) {
        Malformed([&] { return std::string("Incorrect ") + what + " at offset " + std::to_string(Offset(lt)); });
    }
    // A malformed node ends at its '>' or before the next '<'.
    const char* SkipMalformed(const char* p) const {
        const char* q = FindAngle(p, end_);
        return (q < end_ && *q == '>') ? q + 1 : q;
    }

    const char* Node(const char* lt) {
        if (lt + 1 >= end_) {
            Unterminated("tag", lt);
            return end_;
        }
        char c = lt[1];
        if (c == '/') return EndTag(lt);
        if (c == '?') return Until(lt, lt + 2, "?>", "Processing instruction");
        if (c == '!') return Declaration(lt);
        if (IsNameStart(c)) return StartTag(lt);
        Incorrect("tag name character", lt);
        return SkipMalformed(lt + 1);
    }

    const char* Until(const char* lt, const char* from, std::string_view terminator, const char* kind) {
        const char* q = FindSeq(cls_, from, end_, terminator);
        if (q == end_) {
            Unterminated(kind, lt);
            return end_;
        }
        return q + terminator.size();
    }

    const char* Declaration(const char* lt) {
        char c = lt + 2 < end_ ? lt[2] : '\0';
        bool second = lt + 3 < end_;
        switch (c) {
        case '-':
            if (second && lt[3] == '-') return Until(lt, lt + 4, "-->", "Comment");
            Incorrect("comment tag", lt);
            return SkipMalformed(lt + 3);
        case '[':
            if (second && lt[3] == 'C') return Until(lt, lt + 3, "]]>", "CDATA Section");
            Incorrect("tag", lt);
            return SkipMalformed(lt + 3);
        case 'D':
            return Doctype(lt);
        case 'E':
        case 'A':
        case 'N':
            return Until(lt, lt + 2, ">", "Doctype");
        default:
            Incorrect("! tag", lt);
            return SkipMalformed(lt + 2);
        }
    }

    // Declarations nested inside, each from '<' to '>', are skipped.
    const char* Doctype(const char* lt) {
        std::size_t depth = 0;
        for (const char* p = lt + 2;;) {
            const char* q = FindAngle(p, end_);
            if (q == end_) {
                Unterminated("Doctype", lt);
                return end_;
            }
            if (*q == '<') ++depth;
            else if (depth == 0) return q + 1;
            else --depth;
            p = q + 1;
        }
    }

    const char* StartTag(const char* lt) {
        const char* nameEnd = ScanName(cls_, lt + 1, end_);
        const char* gt = FindTagEnd(cls_, nameEnd, end_);
        if (gt == end_) {
            Unterminated("Element tag", lt);
            return end_;
        }
        std::uint32_t pos = index_.Add();
        XmlElementPos& r = index_[pos];
        r.start = Offset(lt);
        r.startTagLength = static_cast<std::uint32_t>(gt + 1 - lt);
        r.length = r.startTagLength;
        index_.AppendChild(stack_.back().pos, pos);
        if (IsEmptyTag(nameEnd, gt)) {
            r.flags |= kEmptyTag;
        } else {
            Push({pos, Offset(lt + 1), static_cast<std::uint32_t>(nameEnd - (lt + 1))});
        }
        return gt + 1;
    }

    // "/" before '>' after white space, a quote or the name itself (all of
    // them bytes that are never the second byte of a character).
    static bool IsEmptyTag(const char* nameEnd, const char* gt) {
        const char* slash = gt - 1;
        if (slash < nameEnd || *slash != '/') return false;
        if (slash == nameEnd) return true;
        const char* before = slash - 1;
        return IsSpace(*before) || *before == '"' || *before == '\'';
    }

    const char* EndTag(const char* lt) {
        const char* gt = FindChar(cls_, lt + 2, end_, '>');
        if (gt == end_) {
            Unterminated("Element end tag", lt);
            return end_;
        }
        const char* nameBegin = SkipSpace(lt + 2, gt);
        std::string_view name(nameBegin, static_cast<std::size_t>(ScanName(cls_, nameBegin, gt) - nameBegin));
        std::size_t k = FindOpen(name);
        if (k == 0) {
            Report([&] {
                return "No start tag for end tag '" + std::string(name) + "' at offset " + std::to_string(Offset(lt));
            });
            notWellFormed_ = true;
            return gt + 1;
        }
        if (k + 1 < stack_.size()) {
            const OpenElement& inner = stack_.back();
            Report([&] {
                return "End tag '" + std::string(name) + "' at offset " + std::to_string(Offset(lt + 1)) +
                       " does not match start tag '" + Name(inner) + "' at offset " +
                       std::to_string(index_[inner.pos].start);
            });
            notWellFormed_ = true;
            CloseAsNotEnded(k);
        }
        XmlElementPos& r = index_[stack_.back().pos];
        r.endTagLength = static_cast<std::uint32_t>(gt + 1 - lt);
        r.length = Offset(gt + 1) - r.start;
        Pop();
        return gt + 1;
    }

    // Closes every element above stack entry `k` as not ended: each keeps only
    // its start tag, and its children follow it as siblings under entry `k`.
    void CloseAsNotEnded(std::size_t k) {
        for (std::size_t i = stack_.size() - 1; i > k; --i) {
            std::uint32_t x = stack_[i].pos;
            std::uint32_t parent = stack_[i - 1].pos;  // x is its last child
            XmlElementPos& rx = index_[x];
            rx.flags |= kNotEnded;
            rx.length = rx.startTagLength;
            rx.endTagLength = 0;
            std::uint32_t first = rx.firstChild;
            if (!first) continue;
            std::uint32_t last = index_[first].prevSibling;
            rx.firstChild = 0;
            rx.nextSibling = first;
            index_[first].prevSibling = x;
            index_[index_[parent].firstChild].prevSibling = last;
        }
        // Every element moved up now hangs under entry k; each moves once.
        std::uint32_t keeper = stack_[k].pos;
        for (std::uint32_t n = index_[stack_[k + 1].pos].nextSibling; n; n = index_[n].nextSibling)
            index_[n].parentPos = keeper;
        while (stack_.size() > k + 1) Pop();
    }

    void Push(const OpenElement& e) {
        stack_.push_back(e);
        if (byNameActive_) byName_[NameView(e)].push_back(stack_.size() - 1);
    }
    void Pop() {
        if (byNameActive_) byName_[NameView(stack_.back())].pop_back();
        stack_.pop_back();
    }

    // Stack entry of the innermost open element named `name`; 0 if none.
    // The walk down the stack is paid for by the elements it closes, except
    // when nothing matches; once such walks add up, a name map takes over.
    std::size_t FindOpen(std::string_view name) {
        if (byNameActive_) {
            auto it = byName_.find(name);
            return (it == byName_.end() || it->second.empty()) ? 0 : it->second.back();
        }
        for (std::size_t k = stack_.size() - 1; k > 0; --k)
            if (NameView(stack_[k]) == name) return k;
        unmatchedWork_ += stack_.size();
        if (unmatchedWork_ > kUnmatchedWorkLimit) {
            byNameActive_ = true;
            for (std::size_t k = 1; k < stack_.size(); ++k) byName_[NameView(stack_[k])].push_back(k);
        }
        return 0;
    }

    static constexpr std::size_t kUnmatchedWorkLimit = 1 << 16;

    const char* base_;
    const char* end_;
    const unsigned char* cls_;
    ElementIndex& index_;
    std::string& result_;
    bool& openEnd_;
    std::vector<OpenElement> stack_;
    bool notWellFormed_ = false;
    std::size_t unmatchedWork_ = 0;
    bool byNameActive_ = false;
    std::unordered_map<std::string_view, std::vector<std::size_t>> byName_;
};

}  // namespace

void CXmlDocument::Impl::Parse() {
    parent = current = child = 0;
    wellFormed = false;
    openEnd = false;
    if (text.Size() > kMaxTextLength) {
        Fail("Document too large");
        return;
    }
    elements.Reset(text.Size());
    if (text.Size() == 0) {
        result = "Empty document";
        return;
    }
    bool clean = Parser(text.Flat(), elements, result, openEnd).Run();
    std::uint32_t root = elements[0].firstChild;
    if (!root) {
        result = "No root element";
        return;
    }
    if (elements[root].nextSibling) {
        result = "Root element has sibling";
        return;
    }
    wellFormed = clean;
}
