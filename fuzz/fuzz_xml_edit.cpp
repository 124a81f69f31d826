// Parses the first part of the input, then runs cursor moves and edits chosen
// by the rest. After each edit what was written must read back; at the end
// the index must still match a fresh parse of the edited text.
#include "fuzz_support.h"
#include "xml_document.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using fuzzsupport::Require;

const char* const kNames[] = {"t", "u", "r", "G", "a", "root", "GUI.ShowToolBar", "x:y", "\xB1\xED", "\x95\x5C"};

std::string PickName(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return in.ConsumeRandomLengthString(12);
    return kNames[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kNames / sizeof kNames[0] - 1)];
}

// What the readers see of the current element.
std::string Current(const CXmlDocument& doc) {
    return doc.ElementName() + "|" + doc.GetAttribute("t") + "|" + doc.GetAttribute("u") + "|" +
           doc.GetAttribute("r") + "|" + doc.ElementText();
}

void RunOne(CXmlDocument& doc, FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 8)) {
    case 0:
        doc.FindElement(in.ConsumeBool() ? PickName(in) : std::string());
        break;
    case 1:
        doc.FindChildElement(in.ConsumeBool() ? PickName(in) : std::string());
        break;
    case 2:
        doc.EnterElement();
        break;
    case 3:
        doc.LeaveElement();
        break;
    case 4:
        doc.ResetCursor();
        break;
    case 5:
    case 6: {
        std::string name = PickName(in);
        std::string value = in.ConsumeRandomLengthString(64);
        bool hadCurrent = !doc.ElementName().empty();
        if (doc.SetAttribute(name, value)) {
            Require(doc.GetAttribute(name) == value, "attribute does not read back", name);
        } else {
            Require(!hadCurrent || name.empty() || name.find_first_of(" \t\r\n<>=/?!\\\"'&") != std::string::npos ||
                        name.find('\0') != std::string::npos,
                    "attribute refused for a usable name", name);
        }
        break;
    }
    case 7:
    case 8: {
        std::string name = PickName(in);
        std::string text = in.ConsumeBool() ? in.ConsumeRandomLengthString(32) : std::string();
        if (doc.AddElement(name, text)) {
            Require(doc.ElementName() == name, "added element has another name", name);
            Require(CXmlDocument::DecodeText(doc.ElementText()) == text, "added text does not read back", text);
        }
        break;
    }
    }
    // Reads right after an edit must not depend on where the edit left the
    // text's spare room: the same again once the text is made whole.
    std::string seen = Current(doc);
    fuzzsupport::RequireIndex(doc);
    Require(Current(doc) == seen, "reads change once the text is whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    CXmlDocument doc;
    doc.SetText(in.ConsumeRandomLengthString(4096));
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) RunOne(doc, in);
    // Edits change only what they wrote: the index reads like a new parse.
    std::string edited = fuzzsupport::Walk(doc);
    CXmlDocument fresh;
    fresh.SetText(std::string(doc.Text()));
    Require(fuzzsupport::Walk(fresh) == edited, "edited index differs from a fresh parse");
    return 0;
}
