// Shared checks of the XML fuzz targets.
#pragma once

#include "xml_document.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

namespace fuzzsupport {

[[noreturn]] inline void Fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

// An input that starts with byte 1 stands for a large file: the rest repeated
// to `large` bytes, the shape that makes a reader slow when it goes back over
// what it has read (a few hundred bytes of input never show it). Empty for
// other inputs.
inline std::string Repeated(std::string_view input, std::size_t large = 256 * 1024) {
    if (input.size() < 2 || input[0] != '\x01') return {};
    input.remove_prefix(1);
    std::string text;
    text.reserve(large + input.size());
    while (text.size() < large) text += input;
    return text;
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
// Without `texts` the elements' texts are left out: nested elements hold each
// other's, which for a large file adds up to far more than the file.
inline std::string Walk(CXmlDocument& doc, bool texts = true) {
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
        // Reading several attributes in one pass gives what reading each does.
        static constexpr std::string_view kNames[] = {"t", "u", "r", "t ", "x", "u"};
        std::string values[std::size(kNames)];
        std::string* const targets[] = {&values[0], &values[1], &values[2], &values[3], &values[4], &values[5]};
        const std::size_t found = doc.GetAttributes(kNames, targets);
        std::size_t foundOneByOne = 0;
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            const bool has = doc.GetAttribute(kNames[i], value);
            foundOneByOne += has ? 1 : 0;
            Require(values[i] == value, "one-pass attribute read differs", std::string(kNames[i]));
            if (has && i < 3) out += " " + std::string(kNames[i]) + "=" + value;
        }
        Require(found == foundOneByOne, "one-pass attribute read counts differently");
        if (texts) out += "[" + doc.ElementText() + "]";
        out += "\n";
        Require(doc.EnterElement(), "cannot enter the element just found");
        ++depth;
    }
    return out;
}

}  // namespace fuzzsupport
