#include "list_texts.h"

#include "platform/codepage.h"

namespace bookmarklist {

std::string SubstituteStrings(std::string_view pattern, std::initializer_list<std::string_view> values,
                              std::size_t limit) {
    std::string out;
    auto next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == 's') {
                if (next != values.end()) out.append(*next++);
                ++i;
                continue;
            }
            if (pattern[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += pattern[i];
        if (out.size() > limit) break;
    }
    if (out.size() <= limit) return out;
    // The longest run of whole characters that fits.
    const char* begin = out.data();
    const char* end = begin + out.size();
    const char* cut = begin;
    for (const char* p = begin; p < end;) {
        const char* after = platform::NextChar(p, end);
        if (static_cast<std::size_t>(after - begin) > limit) break;
        cut = p = after;
    }
    out.resize(static_cast<std::size_t>(cut - begin));
    return out;
}

}  // namespace bookmarklist
