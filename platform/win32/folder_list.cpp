#include "platform/folder_list.h"

#include <windows.h>

namespace platform {

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    const std::string pattern = WithTrailingSeparator(folder) + "*.*";
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        // An empty drive root has no entries at all; that is still a listing.
        return ::GetLastError() == ERROR_FILE_NOT_FOUND &&
               ::GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    do {
        FolderEntry entry;
        entry.name = data.cFileName;
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(std::move(entry));
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return true;
}

}  // namespace platform
