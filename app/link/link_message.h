// The one message the extension sends, {"url": "...", "title": "..."}, read
// from its JSON text. A reader of our own: it needs to know only strings and
// how to step over any other value, and it must refuse every malformed input
// without reading past its end or nesting without bound.
#pragma once

#include <string>
#include <string_view>

namespace link_host {

enum class MessageError {
    kNone,
    kNotJson,         // not one JSON value, or bytes after it
    kTooDeep,         // nesting beyond kMaxNesting
    kNotObject,
    kUrlMissing,
    kUrlNotString,
    kUrlEmpty,
    kTitleNotString,  // a title that is there and neither a string nor null
};

inline constexpr int kMaxNesting = 64;

struct LinkMessage {
    std::u16string url;
    std::u16string title;  // empty when missing or null
};

// Other members are allowed and ignored; of a repeated name the last counts,
// as in the browsers' own JSON. Bytes that are not UTF-8 inside a string
// become U+FFFD.
MessageError ReadLinkMessage(std::string_view json, LinkMessage& message);

// The name the reply gives the error (the extension words it for the user).
const char* ErrorName(MessageError error);

}  // namespace link_host
