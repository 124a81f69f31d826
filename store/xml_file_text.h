// Pieces of the program's own XML files (bookmark file, homepage group): the
// declaration, attribute escaping, and writing a finished text through the
// XML engine. The files are built as text in one pass: the layout is exactly
// the one the engine's element insertion gives (declaration and root start
// tag on one line, one element per line, CR LF, no indentation), without
// the engine's cost per inserted element.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
inline constexpr std::string_view kCrLf = "\r\n";

// Appends ` name="value"` with & < > " ' written as entities; every other
// byte (CR, LF, tab, GBK bytes) as it is.
void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value);

// True when `elementName` is the one-letter name `letter`, in either ASCII case.
bool IsNamedIgnoringCase(std::string_view elementName, char letter);

// Replaces the file at `path` with `text` in one step (temporary file,
// flush, replace); on failure the old file is left as it was.
bool WriteXmlFile(const std::string& text, const std::string& path);
