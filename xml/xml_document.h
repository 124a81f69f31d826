// CXmlDocument: the small XML engine under every XML file of the program.
//
// The whole document is kept as one byte string (`text`) plus an index of its
// elements; a cursor (parent, current, child) walks the elements, and edits
// replace ranges of the text in place. Bytes are never converted: the text is
// scanned as characters of the ANSI code page.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace platform {
class FileOps;
}

class CXmlDocument {
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Replaces the text, clears the result, parses and resets the cursor.
    // Returns whether the document is well-formed.
    bool SetText(std::string_view text);
    bool SetText(std::string&& text);
    bool SetText(const char* text);  // none (nullptr) means empty
    // Reads the file and parses it; false when it cannot be read.
    bool LoadFile(const std::string& path);
    // Replaces the file with the text (never in place); false on failure,
    // leaving the old file untouched.
    bool SaveFile(const std::string& path);
    // The same through the given file calls (tests put a failing fake here).
    bool SaveFile(const std::string& path, platform::FileOps& ops);

    // Puts the cursor back at the top (0, 0, 0), as after SetText.
    void ResetCursor();
    bool FindElement(std::string_view name = {});
    bool FindChildElement(std::string_view name = {});
    bool EnterElement();
    bool LeaveElement();

    std::string ElementName() const;
    // The same without a copy; valid until the next call on the document.
    std::string_view ElementNameView() const;
    // The current element's start tag from its '<' up to the '>' that ends
    // it, or up to the '/' of "/>", neither included; empty without a current
    // element. Valid until the document is changed.
    std::string_view StartTagView() const;
    std::string GetAttribute(std::string_view name) const;
    // The same into `out` (reusing its buffer); false when there is no such
    // attribute or no current element.
    bool GetAttribute(std::string_view name, std::string& out) const;
    // Several attributes in one pass over the start tag: `values[i]` gets
    // what GetAttribute(names[i]) gives (empty when absent). Returns how many
    // were found. Readers of large files use it for every element. Names
    // past the first kMaxAttributesAtOnce are not read.
    static constexpr std::size_t kMaxAttributesAtOnce = 64;
    std::size_t GetAttributes(std::span<const std::string_view> names, std::span<std::string* const> values) const;
    // False, changing nothing, without a current element or for a name that
    // could not be read back as one whole name (empty, white space, < > = / ?
    // ! \ quotes, &).
    bool SetAttribute(std::string_view name, std::string_view value);
    // False, changing nothing, for such a name (or one starting with a byte
    // that starts no tag), and where no sound place exists: inside a parent
    // that was never ended, or at the top level of a text that ends inside an
    // unterminated node (which would swallow the new element).
    bool AddElement(std::string_view name, std::string_view text = {}, int flags = 0);
    std::string ElementText() const;

    const std::string& ResultText() const;

    // Decodes text as GetAttribute decodes a raw attribute value (the five
    // entities and character references); the settings reader uses it on
    // ElementText.
    static std::string DecodeText(std::string_view raw);
    // The whole text, contiguous (edits keep a gap in it, closed here).
    const std::string& Text() const;
    // For a reader that keeps what it reads in the document's own bytes (the
    // bookmark collection's loader): the text, contiguous and writable. The
    // reader may overwrite the bytes before the current element's start tag
    // while it moves the cursor only forward (FindElement without a name,
    // EnterElement, LeaveElement): the cursor never reads them again. Valid
    // until the document is changed.
    char* WritableText();
    // Hands the text over (its bytes stay where they are) and leaves the
    // document empty, as after SetText of an empty text.
    std::string TakeText();
    bool IsWellFormed() const;

    // Number of elements in the index (position 0 not counted).
    std::size_t ElementCount() const;
    // Checks that the index describes the text: every range starts with '<'
    // and ends with '>', children lie inside their parent in order, links
    // agree. For tests and the fuzzer; `problem` says what is wrong.
    bool CheckIndex(std::string* problem = nullptr) const;

private:
    struct Impl;
    Impl* impl_;
};
