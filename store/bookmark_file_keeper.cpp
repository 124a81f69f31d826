#include "bookmark_file_keeper.h"

#include <utility>

#include "bookmark_store.h"
#include "daily_backup.h"

namespace {

int DayOf(const platform::LocalTime& t) { return t.year * 10000 + t.month * 100 + t.day; }

}  // namespace

CBookmarkFileKeeper::CBookmarkFileKeeper(std::string path, Options options)
    : path_(std::move(path)), options_(std::move(options)) {}

BookmarkLoadReport CBookmarkFileKeeper::Load(CBookmarkStore& store) {
    BookmarkLoadReport report;
    CXmlDocument document;
    const XmlFileLoad load = LoadXmlFile(document, path_, "root", options_.retry);
    report.state = load.state;
    report.reason = load.reason;
    if (load.state == XmlFileState::kLoaded) {
        store.LoadDocument(document);
        return report;
    }
    store.SetModified(false);
    if (load.state == XmlFileState::kUnreadable) {
        copyPending_ = true;
        unreadableSince_ = options_.clock();
        std::string error;
        KeepPendingCopy(error);  // a file still held is copied before the first save
        report.keptCopy = keptCopy_;
    }
    return report;
}

bool CBookmarkFileKeeper::KeepPendingCopy(std::string& error) {
    if (!copyPending_) return true;
    if (!platform::FileSizeOf(path_)) {
        copyPending_ = false;  // the file went away: nothing left to keep
        return true;
    }
    if (!platform::KeepUnreadableCopy(path_, unreadableSince_, keptCopy_, error)) return false;
    copyPending_ = false;
    return true;
}

void CBookmarkFileKeeper::KeepDailyBackupOnce(SaveOutcome& outcome, const platform::LocalTime& now) {
    if (options_.backupFolder.empty() || backupDay_ == DayOf(now)) return;
    if (KeepDailyBackup(path_, options_.backupFolder, now, outcome.backupError)) {
        PruneDailyBackups(options_.backupFolder, kDailyBackupsKept);
    }
}

SaveOutcome CBookmarkFileKeeper::Save(CBookmarkStore& store) {
    SaveOutcome outcome;
    std::string copyError;
    if (!KeepPendingCopy(copyError)) {
        outcome.error = keptCopy_ + ": " + copyError;
        return outcome;
    }
    if (!platform::CanReplaceFile(path_, outcome.error)) return outcome;
    const platform::LocalTime now = options_.clock();
    KeepDailyBackupOnce(outcome, now);
    outcome.saved = store.Save(path_, outcome.error);
    // The day counts as kept once a save went through: a backup that failed
    // is said once, not at every save of the day.
    if (outcome.saved) backupDay_ = DayOf(now);
    return outcome;
}

SaveOutcome CBookmarkFileKeeper::SaveTo(CBookmarkStore& store, const std::string& otherPath) {
    SaveOutcome outcome;
    if (!platform::CanReplaceFile(otherPath, outcome.error)) return outcome;
    outcome.saved = store.Save(otherPath, outcome.error);
    return outcome;
}
