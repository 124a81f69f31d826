#include "platform/codepage.h"
#include "platform/folder_list.h"

namespace platform {

std::string WithTrailingSeparator(const std::string& folder) {
    if (folder.empty()) return folder;
    // Find the last character by stepping from the start, so that a trail
    // byte 0x5C is never taken for a backslash.
    const char* p = folder.data();
    const char* end = p + folder.size();
    const char* last = p;
    while (p < end) {
        last = p;
        p = NextChar(p, end);
    }
    bool endsInSeparator = (end - last == 1) && (*last == '\\' || *last == '/');
    return endsInSeparator ? folder : folder + kPathSeparator;
}

}  // namespace platform
