// Loading one of the program's XML files so that a file that is there but
// cannot be used is told apart from a file that is not there at all: the
// first must be kept, the second simply starts the program afresh.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_keeping.h"
#include "xml_document.h"

enum class XmlFileState {
    kLoaded,      // read, well-formed, with the expected root element
    kAbsent,      // no such file, or an empty one
    kUnreadable,  // bytes on disk that could not be read or used
};

struct XmlFileLoad {
    XmlFileState state = XmlFileState::kAbsent;
    // Why an unreadable file could not be used: the system's text for a
    // failed read, or the engine's message with its offset (prefixed with the
    // size read, as after CXmlDocument::LoadFile).
    std::string reason;
};

// Reads `path` into `document` (failed reads of an existing file tried again
// by `plan`) and parses it. A file that is read but is not well-formed, or
// whose root element is not `rootName`, is unreadable; its text stays in the
// document for a caller that still wants what it can get from it.
XmlFileLoad LoadXmlFile(CXmlDocument& document, const std::string& path, std::string_view rootName,
                        const platform::RetryPlan& plan);

// LoadXmlFile, and an unreadable file copied beside itself at once
// (platform::KeepUnreadableCopy, stamped `when`). `keptCopy` gets the copy's
// name; false in `kept` when the copy could not be made.
XmlFileLoad LoadXmlFileKeepingUnreadable(CXmlDocument& document, const std::string& path, std::string_view rootName,
                                         const platform::LocalTime& when, bool& kept);
