#include "xml_file_text.h"


#include "platform/file_io.h"

void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    std::size_t run = 0;  // start of the bytes not yet copied
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char* entity = nullptr;
        switch (value[i]) {
            case '&': entity = "&amp;"; break;
            case '<': entity = "&lt;"; break;
            case '>': entity = "&gt;"; break;
            case '"': entity = "&quot;"; break;
            case '\'': entity = "&apos;"; break;
            default: continue;
        }
        out.append(value.data() + run, i - run);
        out += entity;
        run = i + 1;
    }
    out.append(value.data() + run, value.size() - run);
    out += '"';
}

bool IsNamedIgnoringCase(std::string_view elementName, char letter) {
    return elementName.size() == 1 && (elementName[0] | 0x20) == (letter | 0x20);
}

bool WriteXmlFile(const std::string& text, const std::string& path) {
    // The same atomic replacement the engine's SaveFile makes, without
    // parsing the finished text first.
    std::string error;
    return platform::ReplaceFileContents(path, text, error);
}
