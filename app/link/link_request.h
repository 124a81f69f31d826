// One message of the browser, from its frame to the reply: checked, then
// handed to whoever files links (the program's automation object; a fake in
// tests), and answered {"ok":true} or {"ok":false,"error":"<name>"}.
#pragma once

#include "frame_reader.h"

#include <cstddef>
#include <functional>
#include <string>

namespace link_host {

class LinkFiler {
public:
    virtual ~LinkFiler() = default;
    // Files the link as the browser sent it; "" when filed, else the name
    // of the reason.
    virtual std::string File(const std::u16string& url, const std::u16string& title) = 0;
};

// The reply's JSON text for one frame. Texts over the program's limit (once
// converted to the code page) are refused here, before the program is asked.
std::string AnswerFrame(const Frame& frame, LinkFiler& filer);

// How a run over the whole input ended.
enum class SessionEnd {
    kInputEnded,   // after a whole message, or before any
    kCutShort,     // inside a message: the sender went away
    kOutputFailed, // a reply could not be written: the browser went away
};

// Reads the input with `read` (bytes into the buffer, 0 at its end) and
// writes each reply, framed, with `write`, one reply per message in order.
SessionEnd Serve(const std::function<std::size_t(char*, std::size_t)>& read,
                 const std::function<bool(const std::string&)>& write, LinkFiler& filer);

std::string OkReply();
// `error` holds only characters that need no escaping in JSON.
std::string ErrorReply(const std::string& error);

}  // namespace link_host
