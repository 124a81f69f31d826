// Parses arbitrary bytes; the index must describe the text, every element must
// be readable, and a document must read the same after a save-like copy.
#include "fuzz_support.h"
#include "xml_document.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // A large repetitive text only has to parse in time (the run's timeout).
    const std::string large = fuzzsupport::Repeated(text);
    if (!large.empty()) {
        CXmlDocument doc;
        doc.SetText(large);
        fuzzsupport::RequireIndex(doc);
        fuzzsupport::Walk(doc, false);
        return 0;
    }
    CXmlDocument doc;
    bool wellFormed = doc.SetText(text);
    fuzzsupport::Require(doc.Text() == text, "text changed by parsing");
    fuzzsupport::Require(wellFormed == doc.IsWellFormed(), "well-formedness reported two ways");
    fuzzsupport::Require(wellFormed == doc.ResultText().empty(), "message and well-formedness disagree",
                         doc.ResultText());
    fuzzsupport::RequireIndex(doc);
    std::string first = fuzzsupport::Walk(doc);

    // Parsing is a function of the text alone.
    CXmlDocument again;
    again.SetText(std::string(text));
    fuzzsupport::Require(again.ResultText() == doc.ResultText(), "second parse gives another message");
    fuzzsupport::Require(fuzzsupport::Walk(again) == first, "second parse reads differently");

    // Element text decodes without trouble.
    doc.ResetCursor();
    if (doc.FindChildElement()) {
        doc.EnterElement();
        CXmlDocument::DecodeText(doc.ElementText());
    }
    return 0;
}
