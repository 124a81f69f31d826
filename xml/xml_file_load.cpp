#include "xml_file_load.h"

#include <new>
#include <utility>

#include "platform/file_io.h"

XmlFileLoad LoadXmlFile(CXmlDocument& document, const std::string& path, std::string_view rootName,
                        const platform::RetryPlan& plan) {
    XmlFileLoad load;
    document.SetText(std::string_view());
    const std::optional<std::uint64_t> size = platform::FileSizeOf(path);
    if (!size || *size == 0) return load;  // absent

    load.state = XmlFileState::kUnreadable;
    std::string data;
    try {
        if (!platform::ReadWholeFileRetrying(path, data, load.reason, plan)) {
            // Gone between the look and the read: nothing to keep.
            if (!platform::FileSizeOf(path)) load.state = XmlFileState::kAbsent;
            return load;
        }
    } catch (const std::bad_alloc&) {
        load.reason = "Out of memory";
        return load;
    }
    if (data.empty()) {
        load.state = XmlFileState::kAbsent;
        return load;
    }
    const std::string sizeText = std::to_string(data.size()) + " bytes";
    if (!document.SetText(std::move(data))) {
        load.reason = sizeText + ", " + document.ResultText();
        return load;
    }
    if (!document.FindElement() || document.ElementNameView() != rootName) {
        load.reason = sizeText + ", root element is not '" + std::string(rootName) + "'";
        document.ResetCursor();
        return load;
    }
    document.ResetCursor();
    load.state = XmlFileState::kLoaded;
    load.reason.clear();
    return load;
}

XmlFileLoad LoadXmlFileKeepingUnreadable(CXmlDocument& document, const std::string& path, std::string_view rootName,
                                         const platform::LocalTime& when, bool& kept) {
    kept = true;
    XmlFileLoad load = LoadXmlFile(document, path, rootName, platform::RetryPlan{});
    if (load.state != XmlFileState::kUnreadable) return load;
    std::string copyPath, error;
    kept = platform::KeepUnreadableCopy(path, when, copyPath, error);
    return load;
}
