#include "setting.h"

#include "xml_document.h"
#include "xml_file_load.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
const char kRootName[] = "settings";

// atoi's reading (leading blanks, a sign, digits up to the first non-digit;
// no digits give 0), but a number too large for 32 bits stops at the nearest
// limit instead of being undefined.
std::int32_t ParseInt(const std::string& text) {
    errno = 0;
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

double ParseFloating(const std::string& text) {
    double value = 0;
    if (std::sscanf(text.c_str(), "%lf", &value) != 1) return 0;
    return value;
}

}  // namespace

void CSettingBase::CopyValue(std::uint8_t type, void* dest, const void* src, std::size_t size) {
    switch (type) {
    case ST_CHAR:
    case ST_BOOL:
        std::memcpy(dest, src, 1);
        break;
    case ST_WORD:
        std::memcpy(dest, src, 2);
        break;
    case ST_INT:
    case ST_FLOAT:
        std::memcpy(dest, src, 4);
        break;
    case ST_DOUBLE:
        std::memcpy(dest, src, 8);
        break;
    case ST_STRING:
        *static_cast<std::string*>(dest) = *static_cast<const std::string*>(src);
        break;
    default:
        std::memcpy(dest, src, size);
        break;
    }
}

std::string CSettingBase::ValueToText(const SettingItem& item) {
    char buffer[256];
    switch (item.type) {
    case ST_CHAR:
        std::snprintf(buffer, sizeof buffer, "%d", *static_cast<const std::int8_t*>(item.value));
        return buffer;
    case ST_BOOL:
        std::snprintf(buffer, sizeof buffer, "%d", *static_cast<const std::uint8_t*>(item.value));
        return buffer;
    case ST_WORD:
        std::snprintf(buffer, sizeof buffer, "%d", *static_cast<const std::uint16_t*>(item.value));
        return buffer;
    case ST_INT:
        std::snprintf(buffer, sizeof buffer, "%d", *static_cast<const std::int32_t*>(item.value));
        return buffer;
    case ST_FLOAT:
        std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(*static_cast<const float*>(item.value)));
        return buffer;
    case ST_DOUBLE:
        std::snprintf(buffer, sizeof buffer, "%f", *static_cast<const double*>(item.value));
        return buffer;
    case ST_STRING:
        // Written whole: a long toolbar list must not be cut at 255 bytes.
        return *static_cast<const std::string*>(item.value);
    default:
        return std::string();
    }
}

void CSettingBase::TextToValue(SettingItem& item, const std::string& text) {
    switch (item.type) {
    case ST_CHAR:
        *static_cast<std::int8_t*>(item.value) = static_cast<std::int8_t>(ParseInt(text));
        break;
    case ST_BOOL:
        *static_cast<std::uint8_t*>(item.value) = ParseInt(text) != 0 ? 1 : 0;
        break;
    case ST_WORD:
        *static_cast<std::uint16_t*>(item.value) = static_cast<std::uint16_t>(ParseInt(text));
        break;
    case ST_INT:
        *static_cast<std::int32_t*>(item.value) = ParseInt(text);
        break;
    case ST_FLOAT:
        *static_cast<float*>(item.value) = static_cast<float>(ParseFloating(text));
        break;
    case ST_DOUBLE:
        *static_cast<double*>(item.value) = ParseFloating(text);
        break;
    case ST_STRING:
        *static_cast<std::string*>(item.value) = text;
        break;
    default:
        break;
    }
}

bool CSettingBase::Load(const std::string& path) {
    ClearItems();
    RegisterItems();
    path_ = path;

    CXmlDocument doc;
    bool kept = true;
    const XmlFileLoad load = LoadXmlFileKeepingUnreadable(doc, path, kRootName, platform::LocalTimeNow(), kept);
    // A file that could not be used is kept beside itself; one that could not
    // even be copied is not saved over at the end of this run.
    if (!kept) path_.clear();
    if (load.state != XmlFileState::kLoaded) return false;
    doc.FindElement();
    doc.EnterElement();
    // Each key is searched only after the element matched for the key before
    // it; a key not found leaves the search where it was.
    for (SettingItem& item : items_) {
        if (!doc.FindElement(item.name)) continue;
        std::string text = CXmlDocument::DecodeText(doc.ElementText());
        if (!text.empty()) TextToValue(item, text);
    }
    return true;
}

bool CSettingBase::Save() {
    if (path_.empty()) return false;
    CXmlDocument doc;
    doc.SetText(std::string_view(kDeclaration));
    doc.AddElement(kRootName);
    doc.EnterElement();
    for (const SettingItem& item : items_) doc.AddElement(item.name, ValueToText(item));
    doc.LeaveElement();
    return doc.SaveFile(path_);
}
