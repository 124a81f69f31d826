// CXmlDocument: the small XML engine under every XML file of the program.
//
// The whole document is kept as one byte string (`text`) plus an index of its
// elements; a cursor (parent, current, child) walks the elements, and edits
// replace ranges of the text in place. Bytes are never converted: the text is
// scanned as characters of the ANSI code page.
#pragma once

#include <string>
#include <string_view>

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
    // Reads the file and parses it; false when it cannot be read.
    bool LoadFile(const std::string& path);
    // Replaces the file with the text (never in place); false on failure,
    // leaving the old file untouched.
    bool SaveFile(const std::string& path);

    bool FindElement(std::string_view name = {});
    bool FindChildElement(std::string_view name = {});
    bool EnterElement();
    bool LeaveElement();

    std::string ElementName() const;
    std::string GetAttribute(std::string_view name) const;
    bool SetAttribute(std::string_view name, std::string_view value);
    bool AddElement(std::string_view name, std::string_view text = {}, int flags = 0);
    std::string ElementText() const;

    const std::string& ResultText() const;

    // Decodes text as GetAttribute decodes a raw attribute value (the five
    // entities and character references); the settings reader uses it on
    // ElementText.
    static std::string DecodeText(std::string_view raw);
    const std::string& Text() const;
    bool IsWellFormed() const;

private:
    struct Impl;
    Impl* impl_;
};
