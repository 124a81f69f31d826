#include "link_request.h"

#include "link_message.h"
#include "pending_link_queue.h"
#include "platform/incoming_text.h"

#include <vector>

namespace link_host {

std::string OkReply() { return "{\"ok\":true}"; }

std::string ErrorReply(const std::string& error) { return "{\"ok\":false,\"error\":\"" + error + "\"}"; }

std::string AnswerFrame(const Frame& frame, LinkFiler& filer) {
    if (frame.tooLong) return ErrorReply("message-too-long");
    LinkMessage message;
    const MessageError error = ReadLinkMessage(frame.text, message);
    if (error != MessageError::kNone) return ErrorReply(ErrorName(error));
    // The program takes the texts as UTF-16 and converts them itself; the
    // same conversion here tells whether they will fit.
    if (platform::AddressFromUtf16(message.url).size() > kMaxLinkTextBytes) return ErrorReply("url-too-long");
    if (platform::NameFromUtf16(message.title).size() > kMaxLinkTextBytes) return ErrorReply("title-too-long");
    const std::string refused = filer.File(message.url, message.title);
    return refused.empty() ? OkReply() : ErrorReply(refused);
}

}  // namespace link_host

namespace link_host {

SessionEnd Serve(const std::function<std::size_t(char*, std::size_t)>& read,
                 const std::function<bool(const std::string&)>& write, LinkFiler& filer) {
    FrameReader reader;
    std::vector<char> block(64 * 1024);
    for (;;) {
        const std::size_t got = read(block.data(), block.size());
        if (got == 0) break;
        for (const Frame& frame : reader.Feed(block.data(), got)) {
            if (!write(EncodeFrame(AnswerFrame(frame, filer)))) return SessionEnd::kOutputFailed;
        }
    }
    return reader.MidMessage() ? SessionEnd::kCutShort : SessionEnd::kInputEnded;
}

}  // namespace link_host
