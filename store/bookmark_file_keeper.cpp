#include "bookmark_file_keeper.h"

#include <memory>
#include <new>
#include <utility>

#include "bookmark_file_preload.h"
#include "bookmark_store.h"
#include "daily_backup.h"

namespace {

int DayOf(const platform::LocalTime& t) { return t.year * 10000 + t.month * 100 + t.day; }

}  // namespace

CBookmarkFileKeeper::CBookmarkFileKeeper(std::string path, Options options)
    : path_(std::move(path)), options_(std::move(options)) {}

BookmarkLoadReport CBookmarkFileKeeper::Load(CBookmarkStore& store) {
    BookmarkLoadReport report;
    if (std::unique_ptr<CBookmarkStore> preloaded = CBookmarkFilePreload::Take(path_)) {
        store.TakeCategoriesOf(*preloaded);
        store.SetModified(false);
        report.state = XmlFileState::kLoaded;
        fileKnown_ = true;
        return report;
    }
    CXmlDocument document;
    const XmlFileLoad load = LoadXmlFile(document, path_, "root", options_.retry);
    report.state = load.state;
    report.reason = load.reason;
    if (load.state == XmlFileState::kLoaded) {
        fileKnown_ = true;
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
        report.copyPending = copyPending_;
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

bool CBookmarkFileKeeper::PrepareSave(std::string& error) {
    std::string copyError;
    if (!KeepPendingCopy(copyError)) {
        error = keptCopy_ + ": " + copyError;
        return false;
    }
    return platform::CanReplaceFile(path_, error);
}

SaveOutcome CBookmarkFileKeeper::WriteText(std::string_view text, const platform::LocalTime& now,
                                           platform::FileOps& ops) {
    SaveOutcome outcome;
    KeepDailyBackupOnce(outcome, now);
    outcome.saved = platform::ReplaceFileContents(path_, text, outcome.error, ops);
    // The day counts as kept once a save went through: a backup that failed
    // is said once, not at every save of the day.
    if (outcome.saved) {
        backupDay_ = DayOf(now);
        fileKnown_ = true;
    }
    return outcome;
}

bool CBookmarkFileKeeper::FileWentMissing() const { return fileKnown_.load() && !platform::FileSizeOf(path_); }

SaveOutcome CBookmarkFileKeeper::Save(CBookmarkStore& store) {
    SaveOutcome outcome;
    if (!PrepareSave(outcome.error)) return outcome;
    std::uint64_t change = 0;
    try {
        const FileTextBuffer text = store.BuildFileText(change);
        outcome = WriteText(text.View(), options_.clock(),
                            options_.files ? *options_.files : platform::SystemFileOps());
    } catch (const std::bad_alloc&) {
        outcome.saved = false;
        outcome.error = "Out of memory";
    }
    if (outcome.saved) store.MarkSaved(change);
    return outcome;
}

SaveOutcome CBookmarkFileKeeper::SaveTo(CBookmarkStore& store, const std::string& otherPath) {
    SaveOutcome outcome;
    if (!platform::CanReplaceFile(otherPath, outcome.error)) return outcome;
    outcome.saved = store.Save(otherPath, outcome.error);
    return outcome;
}
