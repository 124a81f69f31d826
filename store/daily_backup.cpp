#include "daily_backup.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/file_io.h"
#include "platform/folder_list.h"
#include "xml_document.h"

namespace {

// A day's backup that cannot be read as a bookmark file (an earlier run that
// ended in the middle of the copy, before copies were written under a
// temporary name, left it short or empty). One that cannot be opened at all
// is held by another program, not torn: it stays.
bool IsTornBackup(const std::string& path) {
    std::string data, error;
    if (!platform::ReadWholeFile(path, data, error)) return false;
    CXmlDocument document;
    if (data.empty() || !document.SetText(std::move(data))) return true;
    return !document.FindElement() || document.ElementNameView() != "root";
}

}  // namespace

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
    const std::string backup = platform::WithTrailingSeparator(folder) + DailyBackupName(when);
    if (platform::FileSizeOf(backup) && IsTornBackup(backup)) platform::RemoveFile(backup);  // made again below
    bool exists = false;
    if (platform::CopyToNewFile(file, backup, error, &exists)) return true;
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
