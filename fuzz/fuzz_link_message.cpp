// Reads arbitrary bytes as the browser's messages to the link host: first as
// one message's JSON, then as a framed input in pieces. What the reader
// accepts must read back the same once written again, and every whole frame
// must get exactly one reply.
#include "frame_reader.h"
#include "link_message.h"
#include "link_request.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void Require(bool condition, const char* what) {
    if (!condition) Fail(what);
}

// A JSON string of `text` with every unit other than printable ASCII escaped.
std::string Quoted(const std::u16string& text) {
    std::string out = "\"";
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\') {
            out += static_cast<char>(unit);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
            out += escape;
        }
    }
    return out + "\"";
}

class CountingFiler final : public link_host::LinkFiler {
public:
    std::string File(const std::u16string& url, const std::u16string&) override {
        Require(!url.empty(), "an empty address was filed");
        ++calls;
        return calls % 3 == 0 ? "program-busy" : "";
    }
    std::size_t calls = 0;
};

void CheckMessage(std::string_view json) {
    link_host::LinkMessage message;
    if (link_host::ReadLinkMessage(json, message) != link_host::MessageError::kNone) return;
    Require(!message.url.empty(), "an empty address was accepted");
    const std::string again = "{\"url\":" + Quoted(message.url) + ",\"title\":" + Quoted(message.title) + "}";
    link_host::LinkMessage reread;
    Require(link_host::ReadLinkMessage(again, reread) == link_host::MessageError::kNone, "written again, refused");
    Require(reread.url == message.url && reread.title == message.title, "written again, read differently");
}

void CheckSession(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    const std::size_t piece = data[0] % 16 + 1;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    // How many whole frames the input holds, counted apart from the reader.
    std::size_t frames = 0;
    for (std::size_t at = 0; input.size() - at >= 4;) {
        std::uint32_t length = 0;
        __builtin_memcpy(&length, input.data() + at, 4);
        if (input.size() - at - 4 < length) break;
        at += 4 + length;
        ++frames;
    }
    std::size_t at = 0;
    std::size_t replies = 0;
    CountingFiler filer;
    auto read = [&](char* buffer, std::size_t room) {
        std::size_t n = std::min({piece, room, input.size() - at});
        __builtin_memcpy(buffer, input.data() + at, n);
        at += n;
        return n;
    };
    auto write = [&](const std::string& framed) {
        Require(framed.size() >= 4, "a reply without its header");
        std::uint32_t length = 0;
        __builtin_memcpy(&length, framed.data(), 4);
        Require(length == framed.size() - 4, "a reply's header does not give its length");
        const std::string_view text(framed.data() + 4, length);
        Require(text.substr(0, 6) == "{\"ok\":", "a reply that is not an answer");
        ++replies;
        return true;
    };
    link_host::Serve(read, write, filer);
    Require(replies == frames, "not one reply per message");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckMessage(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckSession(data, size);
    return 0;
}
