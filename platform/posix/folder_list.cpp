#include "platform/folder_list.h"

#include <dirent.h>
#include <sys/stat.h>

namespace platform {

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return false;
    const std::string prefix = WithTrailingSeparator(folder);
    while (const dirent* e = ::readdir(dir)) {
        FolderEntry entry;
        entry.name = e->d_name;
        if (e->d_type == DT_DIR) {
            entry.isFolder = true;
        } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            // As the Windows listing does, report what a link points to.
            struct stat st;
            entry.isFolder = ::stat((prefix + entry.name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return true;
}

}  // namespace platform
