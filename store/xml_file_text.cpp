#include "xml_file_text.h"

#include "byte_search.h"
#include "platform/file_io.h"

XmlTextWriter::XmlTextWriter(std::size_t expectedSize) {
    const std::size_t size = expectedSize < 64 ? 64 : expectedSize;
    buffer_.reset(new char[size]);
    end_ = buffer_.get();
    limit_ = end_ + size;
}

void XmlTextWriter::Grow(std::size_t more) {
    const std::size_t used = static_cast<std::size_t>(end_ - buffer_.get());
    const std::size_t capacity = static_cast<std::size_t>(limit_ - buffer_.get());
    std::size_t size = capacity + capacity / 2;
    if (size < used + more) size = used + more;
    std::unique_ptr<char[]> bigger(new char[size]);
    if (used) std::memcpy(bigger.get(), buffer_.get(), used);
    buffer_ = std::move(bigger);
    end_ = buffer_.get() + used;
    limit_ = buffer_.get() + size;
}

void XmlTextWriter::Attribute(std::string_view name, std::string_view value) {
    // Room for the value unescaped; each entity makes room for itself and
    // for what is left of the value.
    Reserve(name.size() + value.size() + 4);
    *end_++ = ' ';
    std::memcpy(end_, name.data(), name.size());
    end_ += name.size();
    *end_++ = '=';
    *end_++ = '"';
    const char* p = value.data();
    const char* const end = p + value.size();
    for (;;) {
        const char* run = p;
        p = bytesearch::FindFirstOf<'&', '<', '>', '"', '\''>(p, end);
        std::memcpy(end_, run, static_cast<std::size_t>(p - run));
        end_ += p - run;
        if (p == end) break;
        Reserve(static_cast<std::size_t>(end - p) + 6);
        switch (*p) {
        case '&': std::memcpy(end_, "&amp;", 5); end_ += 5; break;
        case '<': std::memcpy(end_, "&lt;", 4); end_ += 4; break;
        case '>': std::memcpy(end_, "&gt;", 4); end_ += 4; break;
        case '"': std::memcpy(end_, "&quot;", 6); end_ += 6; break;
        default: std::memcpy(end_, "&apos;", 6); end_ += 6; break;
        }
        ++p;
    }
    *end_++ = '"';
}

FileTextBuffer XmlTextWriter::Finish() {
    const std::size_t used = static_cast<std::size_t>(end_ - buffer_.get());
    end_ = limit_ = nullptr;
    return FileTextBuffer(std::move(buffer_), used);
}

bool IsNamedIgnoringCase(std::string_view elementName, char letter) {
    return elementName.size() == 1 && (elementName[0] | 0x20) == (letter | 0x20);
}

bool WriteXmlFile(std::string_view text, const std::string& path) {
    // The same atomic replacement the engine's SaveFile makes, without
    // parsing the finished text first.
    std::string error;
    return platform::ReplaceFileContents(path, text, error);
}
