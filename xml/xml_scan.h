// Character-level scanning of XML text in the ANSI code page.
//
// Every function takes a position that starts a character and steps by whole
// characters, so the trail byte of a double-byte character is never taken for
// a delimiter. No double-byte code page uses a byte below 0x40 as a trail
// byte, so a lead byte followed by one stands alone: the markup bytes
// < > " ' = / ? ! & and white space always are characters of their own (a
// byte-order mark before "<root>" does not hide the '<'), and only the
// backslash, letters and ']' need the lead-byte test. None reads at or past
// `end`.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace xmlscan {

enum : unsigned char {
    kLead = 1,       // starts a double-byte character
    kSpace = 2,      // space, tab, LF, CR
    kNameStop = 4,   // ends a name: white space or < > = \ / ? !
    kTagStop = 8,    // interesting inside a start tag: > " '
    kTokenStop = 16,  // ends an unquoted attribute token: white space or = > / ?
    kValueStop = 32   // ends an unquoted attribute value: white space or >
};

// Byte classes, built once from the code page.
const unsigned char* Classes();

inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A byte that can follow '<' to begin a start tag.
inline bool IsNameStart(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u == ':' || u == '_' || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0x7B;
}

// Whether the byte can be the second byte of a double-byte character.
inline bool CanTrail(char c) { return static_cast<unsigned char>(c) >= 0x40; }

// The character after the one at `p`.
inline const char* Next(const unsigned char* cls, const char* p, const char* end) {
    if ((cls[static_cast<unsigned char>(*p)] & kLead) && p + 1 < end && CanTrail(p[1])) return p + 2;
    return p + 1;
}

inline const char* SkipSpace(const char* p, const char* end) {
    while (p < end && IsSpace(*p)) ++p;
    return p;
}

// First character equal to the ASCII byte `c` at or after `s`; `end` if none.
// Below 0x40 this is a plain byte search.
const char* FindChar(const unsigned char* cls, const char* s, const char* end, char c);
// First occurrence of the ASCII sequence `seq` starting at a character.
const char* FindSeq(const unsigned char* cls, const char* s, const char* end, std::string_view seq);
// First '<' or '>' at or after `s`.
const char* FindAngle(const char* s, const char* end);

// End of the name that starts at `p` (no leading white space skipped).
const char* ScanName(const unsigned char* cls, const char* p, const char* end);
// The '>' that ends a start tag, skipping quoted values; `end` if none.
const char* FindTagEnd(const unsigned char* cls, const char* p, const char* end);

// Name matching: `actual` matches when `requested` equals it or continues
// after it with one of ' ', '=', '/', '[', ']'.
inline bool NameMatches(std::string_view actual, std::string_view requested) {
    if (requested.size() < actual.size()) return false;
    if (!actual.empty() && actual[0] != requested[0]) return false;
    if (requested.compare(0, actual.size(), actual) != 0) return false;
    if (requested.size() == actual.size()) return true;
    char c = requested[actual.size()];
    return c == ' ' || c == '=' || c == '/' || c == '[' || c == ']';
}

// Whether `name` can be written as an element or attribute name and read back
// as the same whole name.
bool IsWritableName(std::string_view name, bool element);

// One attribute of a start tag, as the attribute scanner sees it.
struct AttributeSpan {
    bool found = false;
    const char* valueBegin = nullptr;  // the value token, quotes included
    const char* valueEnd = nullptr;
    const char* innerBegin = nullptr;  // the value without its quotes
    const char* innerEnd = nullptr;
    const char* insertAt = nullptr;    // after the tag name or the last value
};

// The token at `q` inside a start tag ending at `tagEnd`: a quoted value up
// to the same quote; otherwise up to a byte of class `stop`. A quote inside
// an unquoted token still opens a quoted stretch, exactly as the start tag's
// end was found, so that both scans agree on what is quoted and an edit
// cannot move the tag's end.
inline const char* ScanAttributeToken(const unsigned char* cls, const char* q, const char* tagEnd, unsigned char stop) {
    if (q < tagEnd && (*q == '"' || *q == '\'')) {
        const char* close = FindChar(cls, q + 1, tagEnd, *q);
        return close == tagEnd ? tagEnd : close + 1;
    }
    while (q < tagEnd) {
        if (*q == '"' || *q == '\'') {
            const char* close = FindChar(cls, q + 1, tagEnd, *q);
            q = close == tagEnd ? tagEnd : close + 1;
            continue;
        }
        if (cls[static_cast<unsigned char>(*q)] & stop) break;
        ++q;
    }
    return q;
}

// Calls `visit(name, span)` for every attribute of the start tag [tag,
// tagEnd) in order, `tag` pointing at '<' and `tagEnd` at the closing '>' (or
// the '/' before it), until `visit` returns false. `span.insertAt` is where a
// new attribute would go if the tag ended after this one. Returns where a new
// attribute goes after all of them (meaningful when every call returned true).
template <class Visit>
const char* ScanAttributes(const unsigned char* cls, const char* tag, const char* tagEnd, Visit&& visit) {
    const char* p = SkipSpace(tag + 1, tagEnd);
    p = ScanName(cls, p, tagEnd);
    const char* nameEnd = p;
    const char* insertAt = p;
    for (;;) {
        p = SkipSpace(p, tagEnd);
        if (p >= tagEnd || *p == '/' || *p == '>' || *p == '?') break;
        const char* tokenBegin = p;
        p = ScanAttributeToken(cls, p, tagEnd, kTokenStop);
        if (p == tokenBegin) {  // a stray '=' with no name before it
            ++p;
            continue;
        }
        std::string_view token(tokenBegin, static_cast<std::size_t>(p - tokenBegin));
        const char* q = SkipSpace(p, tagEnd);
        if (q >= tagEnd || *q != '=') continue;  // a token without a value
        AttributeSpan span;
        span.found = true;
        span.valueBegin = SkipSpace(q + 1, tagEnd);
        span.valueEnd = ScanAttributeToken(cls, span.valueBegin, tagEnd, kValueStop);
        // After an empty unquoted value a new attribute would be read as
        // that value; it goes right after the name instead.
        insertAt = span.valueEnd == span.valueBegin ? nameEnd : span.valueEnd;
        span.insertAt = insertAt;
        p = span.valueEnd;
        span.innerBegin = span.valueBegin;
        span.innerEnd = span.valueEnd;
        if (span.valueBegin < span.valueEnd && (*span.valueBegin == '"' || *span.valueBegin == '\'')) {
            span.innerBegin = span.valueBegin + 1;
            if (span.valueEnd - span.valueBegin >= 2 && span.valueEnd[-1] == *span.valueBegin) {
                span.innerEnd = span.valueEnd - 1;
            }
        }
        if (!visit(token, span)) break;
    }
    return insertAt;
}

// Looks for attribute `name` in the start tag [tag, tagEnd): the first whose
// name matches. When there is none, `insertAt` says where it would go.
AttributeSpan FindAttribute(const unsigned char* cls, const char* tag, const char* tagEnd,
                            std::string_view name);

// Appends the raw text with the five entities and the character references
// of codes 1 to 255 decoded; anything else is copied as it stands.
void AppendDecoded(const char* s, const char* end, std::string& out);

// Appends `raw` with & < > (and " ' when `quotes`) written as entities.
void AppendEscaped(std::string_view raw, bool quotes, std::string& out);

}  // namespace xmlscan
