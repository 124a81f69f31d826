// Pieces of the program's own XML files (bookmark file, homepage group): the
// declaration, the writer that builds a file's text, and writing a finished
// text. The files are built as text in one pass: the layout is exactly the
// one the engine's element insertion gives (declaration and root start tag on
// one line, one element per line, CR LF, no indentation), without the
// engine's cost per inserted element.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
inline constexpr std::string_view kCrLf = "\r\n";

// A finished file text: one block of bytes, moved, never copied.
class FileTextBuffer {
public:
    FileTextBuffer() = default;
    FileTextBuffer(std::unique_ptr<char[]> bytes, std::size_t size) : bytes_(std::move(bytes)), size_(size) {}
    std::string_view View() const { return {bytes_.get(), size_}; }
    std::size_t Size() const { return size_; }

private:
    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
};

// Builds a file's text straight into one buffer, sized once from the
// caller's estimate and grown only when the estimate was short.
class XmlTextWriter {
public:
    explicit XmlTextWriter(std::size_t expectedSize);
    XmlTextWriter(const XmlTextWriter&) = delete;
    XmlTextWriter& operator=(const XmlTextWriter&) = delete;

    void Append(std::string_view text) {
        Reserve(text.size());
        std::memcpy(end_, text.data(), text.size());
        end_ += text.size();
    }
    // Appends ` name="value"` with & < > " ' written as entities; every other
    // byte (CR, LF, tab, GBK bytes) as it is.
    void Attribute(std::string_view name, std::string_view value);
    // The text written so far; the writer is left empty.
    FileTextBuffer Finish();

private:
    void Reserve(std::size_t more) {
        if (static_cast<std::size_t>(limit_ - end_) < more) Grow(more);
    }
    void Grow(std::size_t more);

    // Left uninitialised: every byte up to `end_` is written before use.
    std::unique_ptr<char[]> buffer_;
    char* end_ = nullptr;    // where the next byte goes
    char* limit_ = nullptr;  // end of the buffer
};

// True when `elementName` is the one-letter name `letter`, in either ASCII case.
bool IsNamedIgnoringCase(std::string_view elementName, char letter);

// Replaces the file at `path` with `text` in one step (temporary file,
// flush, replace); on failure the old file is left as it was.
bool WriteXmlFile(std::string_view text, const std::string& path);
