// The temporary files a process that ended in the middle of a write leaves
// behind: a save's "bookmark.xml.tmp" (also of the settings and the
// homepage group) and the temporary names of kept copies, in the program's
// folder and its backup folder. Removed at start, before anything writes.
#pragma once

#include <string>
#include <vector>

// Whether `name` (a file of the program's folder) is such a leftover.
bool IsLeftoverTemporaryName(const std::string& name);
// Whether `name` (a file of the backup folder) is such a leftover.
bool IsLeftoverBackupTemporaryName(const std::string& name);

// Removes the leftovers of both folders; returns the paths removed.
std::vector<std::string> RemoveLeftoverTemporaries(const std::string& programFolder,
                                                   const std::string& backupFolder);
