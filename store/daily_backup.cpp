#include "daily_backup.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/folder_list.h"

namespace {

// "bookmark-" digits "-" digits "-" digits ".xml", with the digit counts of a date.
bool IsDailyBackupName(const std::string& name) {
    static constexpr char kPattern[] = "bookmark-0000-00-00.xml";
    if (name.size() != sizeof kPattern - 1) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (kPattern[i] == '0' ? !std::isdigit(c) : std::tolower(c) != kPattern[i]) return false;
    }
    return true;
}

}  // namespace

std::string DailyBackupName(const platform::LocalTime& when) {
    char name[40];
    std::snprintf(name, sizeof name, "bookmark-%04d-%02d-%02d.xml", when.year, when.month, when.day);
    return name;
}

bool KeepDailyBackup(const std::string& file, const std::string& folder, const platform::LocalTime& when,
                     std::string& error) {
    if (!platform::FileSizeOf(file)) return true;
    if (!platform::CreateFolder(folder)) {
        error = "cannot create the folder " + folder;
        return false;
    }
    bool exists = false;
    if (platform::CopyToNewFile(file, platform::WithTrailingSeparator(folder) + DailyBackupName(when), error,
                                &exists)) {
        return true;
    }
    if (exists) error.clear();  // the day's copy was made by an earlier run
    return exists;
}

void PruneDailyBackups(const std::string& folder, std::size_t keep) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(folder, entries)) return;
    std::vector<std::string> backups;
    for (const platform::FolderEntry& entry : entries) {
        if (!entry.isFolder && IsDailyBackupName(entry.name)) backups.push_back(entry.name);
    }
    if (backups.size() <= keep) return;
    // The names sort by date.
    std::sort(backups.begin(), backups.end());
    const std::string base = platform::WithTrailingSeparator(folder);
    for (std::size_t i = 0; i + keep < backups.size(); ++i) platform::RemoveFile(base + backups[i]);
}
