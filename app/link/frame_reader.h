// The framing of the browsers' native messaging: each message is a 32-bit
// length in the machine's byte order followed by that many bytes of UTF-8
// JSON. The reader takes the input in whatever pieces the pipe delivers and
// hands out whole messages; a message longer than the limit is read past,
// never kept, so that one bad message cannot fill the memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace link_host {

// The largest message taken in: far above any link, far below what a
// runaway sender could make the host hold.
inline constexpr std::size_t kMaxMessageBytes = 1024 * 1024;

struct Frame {
    bool tooLong = false;   // over the limit: `text` is empty, the bytes were skipped
    std::uint32_t size = 0; // the length its header gave
    std::string text;
};

class FrameReader {
public:
    explicit FrameReader(std::size_t maxMessage = kMaxMessageBytes) : max_(maxMessage) {}

    // Takes the next piece of input; returns the messages it completed, in order.
    std::vector<Frame> Feed(const char* data, std::size_t size);

    // At the end of the input: whether it stopped inside a message (its
    // header or its body).
    bool MidMessage() const { return headerBytes_ != 0 || inBody_; }

private:
    std::size_t max_;
    unsigned char header_[4] = {};
    std::size_t headerBytes_ = 0;
    bool inBody_ = false;
    std::uint32_t size_ = 0;
    std::size_t remaining_ = 0;  // body bytes still to come
    std::string body_;
};

// A reply as the browser reads it: the header, then `text`.
std::string EncodeFrame(const std::string& text);

}  // namespace link_host
