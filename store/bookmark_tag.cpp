#include "bookmark_tag.h"

#include <cstring>

#include "byte_search.h"
#include "text_rules.h"
#include "xml_scan.h"

namespace {

// Reads ` name="value"` at `p`; on success `p` is moved past the closing
// quote. The value ends at the first '"' (a quote byte is never part of a
// double-byte character), and is decoded only when it holds an '&'.
//
// `Stops` are the bytes after which the value needs a closer look: the
// closing quote, '&', and for a title the characters it may not hold.
template <char... Stops>
bool ReadValue(const char*& p, const char* end, char name, std::string& out, bool& clean) {
    if (end - p < 5 || p[0] != ' ' || p[1] != name || p[2] != '=' || p[3] != '"') return false;
    const char* value = p + 4;
    const char* stop = bytesearch::FindFirstOf<'"', Stops...>(value, end);
    if (stop == end) return false;
    clean = *stop == '"';
    if (clean) {
        out.assign(value, static_cast<std::size_t>(stop - value));
    } else {
        const void* quote = std::memchr(stop, '"', static_cast<std::size_t>(end - stop));
        if (!quote) return false;
        stop = static_cast<const char*>(quote);
        out.clear();
        xmlscan::AppendDecoded(value, stop, out);
    }
    p = stop + 1;
    return true;
}

}  // namespace

bool ReadWrittenBookmarkTag(std::string_view tag, std::string& title, std::string& url, std::string& remark) {
    if (tag.size() < 2 || tag[0] != '<' || (tag[1] | 0x20) != 'a') return false;
    const char* p = tag.data() + 2;
    const char* const end = tag.data() + tag.size();
    bool titleClean = false, clean = false;
    if (!ReadValue<'&', '\\', '/', ':', '*', '?', '<', '>', '|'>(p, end, 't', title, titleClean) ||
        !ReadValue<'&'>(p, end, 'u', url, clean) || !ReadValue<'&'>(p, end, 'r', remark, clean) || p != end)
        return false;
    if (!titleClean) FilterInvalidChars(title, true);
    return true;
}
