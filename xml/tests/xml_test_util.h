// Helpers for the XML engine's tests.
#pragma once

#include "xml_document.h"

#include <string>

namespace xmltest {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

// Every element in document order as "depth:name[text]" lines, walked with
// the cursor alone (no recursion).
inline std::string Outline(CXmlDocument& doc) {
    doc.ResetCursor();
    std::string out;
    int depth = 0;
    // A broken index could send the walk round in circles.
    std::size_t stepsLeft = 4 * doc.ElementCount() + 16;
    for (;;) {
        if (stepsLeft-- == 0) {
            out += "(walk does not end)";
            break;
        }
        if (!doc.FindElement()) {
            if (!doc.LeaveElement()) break;
            --depth;
            continue;
        }
        out += std::to_string(depth) + ":" + doc.ElementName() + "[" + doc.ElementText() + "]\n";
        doc.EnterElement();
        ++depth;
    }
    return out;
}

// The outline of a fresh parse of the same text: what the index of an edited
// document must still describe.
inline std::string OutlineOfText(const std::string& text) {
    CXmlDocument fresh;
    fresh.SetText(std::string_view(text));
    return Outline(fresh);
}

// Shows CR and LF so that layout failures are readable.
inline std::string Visible(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n\n";
        else out += c;
    }
    return out;
}

}  // namespace xmltest
