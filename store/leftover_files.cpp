#include "leftover_files.h"

#include <cctype>
#include <string_view>

#include "daily_backup.h"
#include "platform/file_keeping.h"
#include "platform/folder_list.h"

namespace {

// The files the program writes beside itself; each is saved through a
// temporary file and may have an unreadable copy kept.
constexpr std::string_view kOwnFiles[] = {"bookmark.xml", "setting.xml", "HomepageGroup.xml"};
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kUnreadableMark = ".unreadable-";

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(start[i])))
            return false;
    }
    return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && StartsWithNoCase(text.substr(text.size() - end.size()), end);
}

// `name` without its temporary suffix, or empty when it has none.
std::string_view WithoutTemporarySuffix(std::string_view name) {
    if (!EndsWithNoCase(name, kTemporarySuffix)) return {};
    return name.substr(0, name.size() - kTemporarySuffix.size());
}

void RemoveFrom(const std::string& folder, bool (*isLeftover)(const std::string&), std::vector<std::string>& removed) {
    std::vector<platform::FolderEntry> entries;
    if (folder.empty() || !platform::ListFolder(folder, entries)) return;
    const std::string base = platform::WithTrailingSeparator(folder);
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isFolder || !isLeftover(entry.name)) continue;
        if (platform::RemoveFile(base + entry.name)) removed.push_back(base + entry.name);
    }
}

}  // namespace

bool IsLeftoverTemporaryName(const std::string& name) {
    const std::string_view kept = WithoutTemporarySuffix(name);
    if (kept.empty()) return false;
    for (std::string_view own : kOwnFiles) {
        if (kept.size() == own.size() && StartsWithNoCase(kept, own)) return true;  // a save's temporary
        // A copy's temporary: "<file>.unreadable-<stamp>.tmp".
        if (StartsWithNoCase(kept, own) && StartsWithNoCase(kept.substr(own.size()), kUnreadableMark) &&
            kept.size() > own.size() + kUnreadableMark.size())
            return true;
    }
    return false;
}

bool IsLeftoverBackupTemporaryName(const std::string& name) {
    const std::string_view kept = WithoutTemporarySuffix(name);
    return !kept.empty() && IsDailyBackupName(std::string(kept));
}

std::vector<std::string> RemoveLeftoverTemporaries(const std::string& programFolder,
                                                   const std::string& backupFolder) {
    std::vector<std::string> removed;
    RemoveFrom(programFolder, &IsLeftoverTemporaryName, removed);
    RemoveFrom(backupFolder, &IsLeftoverBackupTemporaryName, removed);
    return removed;
}
