// The daily backups of the bookmark file: on the first save of each day the
// file about to be replaced is kept as "bookmark-YYYY-MM-DD.xml" in the
// backup folder, and only the newest few of those are kept.
#pragma once

#include <cstddef>
#include <string>

#include "platform/file_keeping.h"

inline constexpr std::size_t kDailyBackupsKept = 15;

// "bookmark-YYYY-MM-DD.xml" for the day of `when`.
std::string DailyBackupName(const platform::LocalTime& when);

// Whether `name` is that of a daily backup ("bookmark-YYYY-MM-DD.xml", any case).
bool IsDailyBackupName(const std::string& name);

// Copies `file` into `folder` (made when missing) under the day's name. True
// when the day's copy is there afterwards: made now, or made earlier that
// day (never replaced, unless it cannot be read as a bookmark file: a copy
// torn by an earlier run is made again). A missing `file` needs no copy and
// is true as well.
// False with `error` when the copy could not be made.
bool KeepDailyBackup(const std::string& file, const std::string& folder, const platform::LocalTime& when,
                     std::string& error);

// Deletes the oldest daily backups in `folder` until `keep` are left; other
// files in the folder are not touched.
void PruneDailyBackups(const std::string& folder, std::size_t keep);
