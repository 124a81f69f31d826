#include "frame_reader.h"

#include <algorithm>
#include <cstring>

namespace link_host {

std::vector<Frame> FrameReader::Feed(const char* data, std::size_t size) {
    std::vector<Frame> done;
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
        if (!inBody_) {
            const std::size_t take = std::min<std::size_t>(sizeof header_ - headerBytes_, end - p);
            std::memcpy(header_ + headerBytes_, p, take);
            headerBytes_ += take;
            p += take;
            if (headerBytes_ < sizeof header_) break;
            headerBytes_ = 0;
            std::memcpy(&size_, header_, sizeof size_);  // the machine's own byte order
            inBody_ = true;
            remaining_ = size_;
            body_.clear();
            if (size_ <= max_) body_.reserve(size_);
        }
        const std::size_t take = std::min<std::size_t>(remaining_, end - p);
        if (size_ <= max_) body_.append(p, take);
        p += take;
        remaining_ -= take;
        if (remaining_ != 0) break;
        Frame frame;
        frame.size = size_;
        frame.tooLong = size_ > max_;
        if (!frame.tooLong) frame.text.swap(body_);
        done.push_back(std::move(frame));
        inBody_ = false;
    }
    return done;
}

std::string EncodeFrame(const std::string& text) {
    const std::uint32_t size = static_cast<std::uint32_t>(text.size());
    std::string framed(sizeof size, '\0');
    std::memcpy(framed.data(), &size, sizeof size);
    return framed + text;
}

}  // namespace link_host
