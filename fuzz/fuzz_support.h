// Shared checks of the XML fuzz targets.
#pragma once

#include "xml_document.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzsupport {

[[noreturn]] inline void Fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

inline void Require(bool ok, const char* what, const std::string& detail = {}) {
    if (!ok) Fail(what, detail);
}

inline void RequireIndex(const CXmlDocument& doc) {
    std::string problem;
    if (!doc.CheckIndex(&problem)) Fail("index does not match the text:", problem);
}

// Every element in document order with what the readers see of it, walked
// with the cursor (no recursion, so deep nesting is fine).
inline std::string Walk(CXmlDocument& doc) {
    doc.ResetCursor();
    std::string out, value;
    std::size_t depth = 0;
    for (;;) {
        if (!doc.FindElement()) {
            if (!doc.LeaveElement()) break;
            --depth;
            continue;
        }
        out += std::to_string(depth) + ":" + doc.ElementName();
        for (const char* name : {"t", "u", "r"}) {
            if (doc.GetAttribute(name, value)) out += " " + std::string(name) + "=" + value;
        }
        out += "[" + doc.ElementText() + "]\n";
        Require(doc.EnterElement(), "cannot enter the element just found");
        ++depth;
    }
    return out;
}

}  // namespace fuzzsupport
