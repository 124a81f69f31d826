// Listing the entries of one folder, on byte-string paths in the ANSI code
// page, in the order the system returns them.
#pragma once

#include <string>
#include <vector>

namespace platform {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

struct FolderEntry {
    std::string name;  // the entry's name without the folder
    bool isFolder = false;
};

// Lists every entry of `folder` ("." and ".." included when the system
// reports them). False when the folder cannot be listed; `entries` is then
// empty.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// `folder` with a path separator at its end (none is added to an empty path).
// A trail byte that equals a backslash does not count as a separator.
std::string WithTrailingSeparator(const std::string& folder);

}  // namespace platform
