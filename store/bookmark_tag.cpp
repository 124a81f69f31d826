#include "bookmark_tag.h"

#include <cstring>

#include "bookmark_record.h"
#include "byte_search.h"
#include "text_rules.h"
#include "xml_scan.h"

namespace {

// A value as it stands in the tag, between its quotes.
struct RawValue {
    const char* begin = nullptr;
    const char* end = nullptr;
    bool clean = false;  // holds neither an entity nor (for a title) a character to filter
};

// Finds ` name="value"` at `p`; on success `p` is moved past the closing
// quote. The value ends at the first '"' (a quote byte is never part of a
// double-byte character).
//
// `Stops` are the bytes after which the value needs a closer look: the
// closing quote, '&', and for a title the characters it may not hold.
template <char... Stops>
bool FindValue(const char*& p, const char* end, char name, RawValue& value) {
    if (end - p < 5 || p[0] != ' ' || p[1] != name || p[2] != '=' || p[3] != '"') return false;
    value.begin = p + 4;
    const char* stop = bytesearch::FindFirstOf<'"', Stops...>(value.begin, end);
    if (stop == end) return false;
    value.clean = *stop == '"';
    if (!value.clean) {
        const void* quote = std::memchr(stop, '"', static_cast<std::size_t>(end - stop));
        if (!quote) return false;
        stop = static_cast<const char*>(quote);
    }
    value.end = stop;
    p = stop + 1;
    return true;
}

bool FindWrittenValues(std::string_view tag, RawValue& title, RawValue& url, RawValue& remark) {
    if (tag.size() < 2 || tag[0] != '<' || (tag[1] | 0x20) != 'a') return false;
    const char* p = tag.data() + 2;
    const char* const end = tag.data() + tag.size();
    return FindValue<'&', '\\', '/', ':', '*', '?', '<', '>', '|'>(p, end, 't', title) &&
           FindValue<'&'>(p, end, 'u', url) && FindValue<'&'>(p, end, 'r', remark) && p == end;
}

bool HasEntity(const RawValue& value) {
    return std::memchr(value.begin, '&', static_cast<std::size_t>(value.end - value.begin)) != nullptr;
}

void ReadInto(const RawValue& value, std::string& out) {
    if (value.clean || !HasEntity(value)) {
        out.assign(value.begin, static_cast<std::size_t>(value.end - value.begin));
    } else {
        out.clear();
        xmlscan::AppendDecoded(value.begin, value.end, out);
    }
}

// A value with no entity moves down as it stands; one with an entity is
// decoded aside first (decoding only shortens it).
RecordText Place(const RawValue& value, char*& at, std::string& scratch, bool isTitle, std::size_t& placed) {
    const char* bytes = value.begin;
    std::size_t size = static_cast<std::size_t>(value.end - value.begin);
    if (!value.clean && HasEntity(value)) {
        scratch.clear();
        xmlscan::AppendDecoded(value.begin, value.end, scratch);
        bytes = scratch.data();
        size = scratch.size();
    }
    if (size == 0) return {};
    RecordText text = RecordText::PlaceInArena(at, bytes, size);
    if (isTitle && !value.clean) FilterInvalidChars(at - size - 1, size);
    ++placed;
    return text;
}

}  // namespace

bool ReadWrittenBookmarkTag(std::string_view tag, std::string& title, std::string& url, std::string& remark) {
    RawValue t, u, r;
    if (!FindWrittenValues(tag, t, u, r)) return false;
    ReadInto(t, title);
    ReadInto(u, url);
    ReadInto(r, remark);
    if (!t.clean) FilterInvalidChars(title, true);
    return true;
}

bool PlaceWrittenBookmarkTag(std::string_view tag, char*& at, std::string& scratch, BookmarkRecord& record,
                             std::size_t& placed) {
    RawValue t, u, r;
    if (!FindWrittenValues(tag, t, u, r)) return false;
    record.title = Place(t, at, scratch, true, placed);
    record.url = Place(u, at, scratch, false, placed);
    record.remark = Place(r, at, scratch, false, placed);
    return true;
}
