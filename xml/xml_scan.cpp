#include "xml_scan.h"

#include "platform/codepage.h"

#include <cstdint>
#include <cstring>

namespace xmlscan {
namespace {

struct ClassTable {
    unsigned char cls[256];
    ClassTable() {
        for (int c = 0; c < 256; ++c) {
            unsigned char v = 0;
            if (platform::IsLeadByte(static_cast<unsigned char>(c))) v |= kLead;
            if (IsSpace(static_cast<char>(c))) v |= kSpace | kNameStop | kTokenStop;
            if (std::strchr("<>=\\/?!", c) && c != 0) v |= kNameStop;
            if (std::strchr(">\"'", c) && c != 0) v |= kTagStop;
            if (std::strchr("=>/?", c) && c != 0) v |= kTokenStop;
            if (IsSpace(static_cast<char>(c)) || c == '>') v |= kValueStop;
            cls[c] = v;
        }
    }
};

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A reference starting at `amp`: one of the five entities or "&#ddd;" /
// "&#xhh;" with ';' within seven characters and a code from 1 to 255.
bool DecodeReference(const char* amp, const char* end, char& ch, const char*& after) {
    static const struct { const char* name; std::size_t length; char ch; } kEntities[] = {
        {"lt;", 3, '<'}, {"amp;", 4, '&'}, {"gt;", 3, '>'}, {"apos;", 5, '\''}, {"quot;", 5, '"'}};
    const char* p = amp + 1;
    std::size_t left = static_cast<std::size_t>(end - p);
    for (const auto& e : kEntities) {
        if (left >= e.length && std::memcmp(p, e.name, e.length) == 0) {
            ch = e.ch;
            after = p + e.length;
            return true;
        }
    }
    if (p >= end || *p != '#') return false;
    ++p;
    bool hex = p < end && *p == 'x';
    if (hex) ++p;
    std::uint32_t code = 0;
    for (int k = 0; k < 7 && p + k < end; ++k) {
        char c = p[k];
        if (c == ';') {
            if (k == 0 || code < 1 || code > 255) return false;
            ch = static_cast<char>(code);
            after = p + k + 1;
            return true;
        }
        int digit = DigitValue(c, hex);
        if (digit < 0) return false;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    return false;
}

// Whether `q` starts a character, given that `from` (<= q) does.
bool IsCharStart(const unsigned char* cls, const char* from, const char* q) {
    if (!CanTrail(*q)) return true;
    // Bytes before `q` that can only be lead bytes pair up from the last byte
    // that cannot; an odd run means `q` is the trail of the last of them.
    const char* b = q;
    while (b > from && (cls[static_cast<unsigned char>(b[-1])] & kLead)) --b;
    return ((q - b) & 1) == 0;
}

}  // namespace

const unsigned char* Classes() {
    static const ClassTable table;
    return table.cls;
}

const char* FindChar(const unsigned char* cls, const char* s, const char* end, char c) {
    if (!CanTrail(c)) {
        if (s >= end) return end;
        const void* q = std::memchr(s, c, static_cast<std::size_t>(end - s));
        return q ? static_cast<const char*>(q) : end;
    }
    while (s < end) {
        const char* q = static_cast<const char*>(std::memchr(s, c, static_cast<std::size_t>(end - s)));
        if (!q) return end;
        if (IsCharStart(cls, s, q)) return q;
        s = q + 1;  // q was a trail byte; the next character starts after it
    }
    return end;
}

const char* FindSeq(const unsigned char* cls, const char* s, const char* end, std::string_view seq) {
    while (s < end) {
        const char* q = FindChar(cls, s, end, seq[0]);
        if (q == end) return end;
        if (static_cast<std::size_t>(end - q) >= seq.size() &&
            std::memcmp(q, seq.data(), seq.size()) == 0)
            return q;
        s = q + 1;
    }
    return end;
}

const char* FindAngle(const char* s, const char* end) {
    while (s < end && *s != '<' && *s != '>') ++s;
    return s;
}

const char* ScanName(const unsigned char* cls, const char* p, const char* end) {
    while (p < end) {
        unsigned char c = cls[static_cast<unsigned char>(*p)];
        if (c & kNameStop) break;
        p = (c & kLead) ? Next(cls, p, end) : p + 1;
    }
    return p;
}

const char* FindTagEnd(const unsigned char* cls, const char* p, const char* end) {
    while (p < end) {
        if (!(cls[static_cast<unsigned char>(*p)] & kTagStop)) {
            ++p;
            continue;
        }
        if (*p == '>') return p;
        const void* close = std::memchr(p + 1, *p, static_cast<std::size_t>(end - (p + 1)));
        if (!close) return end;
        p = static_cast<const char*>(close) + 1;
    }
    return end;
}

bool IsWritableName(std::string_view name, bool element) {
    if (name.empty()) return false;
    if (element && !IsNameStart(name[0])) return false;
    const unsigned char* cls = Classes();
    const char* p = name.data();
    const char* end = p + name.size();
    while (p < end) {
        unsigned char c = cls[static_cast<unsigned char>(*p)];
        if ((c & (kNameStop | kTokenStop | kTagStop)) || *p == '&' || *p == '\0') return false;
        p = Next(cls, p, end);
    }
    return true;
}

AttributeSpan FindAttribute(const unsigned char* cls, const char* tag, const char* tagEnd,
                            std::string_view name) {
    AttributeSpan found;
    const char* insertAt = ScanAttributes(cls, tag, tagEnd, [&](std::string_view token, const AttributeSpan& span) {
        if (!NameMatches(token, name)) return true;
        found = span;
        return false;
    });
    if (!found.found) found.insertAt = insertAt;
    return found;
}

void AppendDecoded(const char* s, const char* end, std::string& out) {
    const unsigned char* cls = Classes();
    out.reserve(out.size() + static_cast<std::size_t>(end - s));
    while (s < end) {
        const char* amp = FindChar(cls, s, end, '&');
        out.append(s, static_cast<std::size_t>(amp - s));
        if (amp == end) break;
        char ch;
        const char* after;
        if (DecodeReference(amp, end, ch, after)) {
            out.push_back(ch);
            s = after;
        } else {
            out.push_back('&');
            s = amp + 1;
        }
    }
}

void AppendEscaped(std::string_view raw, bool quotes, std::string& out) {
    // The five characters are all below 0x40, so a byte search finds exactly
    // the characters, never a trail byte.
    static const struct EscapeTable {
        unsigned char marks[256] = {};
        EscapeTable() {
            marks[static_cast<unsigned char>('&')] = 1;
            marks[static_cast<unsigned char>('<')] = 1;
            marks[static_cast<unsigned char>('>')] = 1;
            marks[static_cast<unsigned char>('"')] = 2;
            marks[static_cast<unsigned char>('\'')] = 2;
        }
    } table;
    const unsigned char stop = quotes ? 3 : 1;
    const char* p = raw.data();
    const char* end = p + raw.size();
    out.reserve(out.size() + raw.size());
    while (p < end) {
        const char* run = p;
        while (p < end && !(table.marks[static_cast<unsigned char>(*p)] & stop)) ++p;
        out.append(run, static_cast<std::size_t>(p - run));
        if (p == end) break;
        switch (*p) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += "&apos;"; break;
        }
        ++p;
    }
}

}  // namespace xmlscan
