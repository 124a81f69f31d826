// CBookmarkFileKeeper: every read and write of the bookmark file, with the
// rules that keep the user's collection from being lost:
//
// - a file that is there but cannot be read or used is copied beside itself
//   ("bookmark.xml.unreadable-YYYYMMDD-HHMMSS") before anything may replace
//   it; while the copy cannot be made (another program still holds the
//   file), no save replaces the file;
// - a save first asks whether the file can be replaced at all, so that a
//   read-only file or folder costs neither the text nor a temporary file;
// - the first save of each day keeps the file it replaces as a daily backup.
//
// The outcome of a save is a small value (SaveOutcome) that the caller shows;
// it can just as well come back from a writer thread.
//
// A save has two halves so that the periodic one can write on the file
// writer's thread: PrepareSave, on the window's thread before the text is
// built, and WriteText, wherever the text is written. Save does both.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "platform/file_keeping.h"
#include "xml_file_load.h"

class CBookmarkStore;

struct SaveOutcome {
    bool saved = false;       // the file now holds the collection
    std::string error;        // why not (the system's text); empty when saved
    std::string backupError;  // the day's backup could not be made; the save went on
};

struct BookmarkLoadReport {
    XmlFileState state = XmlFileState::kAbsent;
    std::string reason;    // why an unreadable file could not be used
    std::string keptCopy;  // where it is kept (made at once, or before the first save)
    // The copy could not be made yet (another program still holds the
    // file): it is made before the first save, and `keptCopy` does not
    // exist yet.
    bool copyPending = false;
};

class CBookmarkFileKeeper {
public:
    struct Options {
        // Where the daily backups go; none when empty.
        std::string backupFolder;
        std::function<platform::LocalTime()> clock = platform::LocalTimeNow;
        platform::RetryPlan retry;
        // The file layer Save writes through; none: the system's.
        platform::FileOps* files = nullptr;
    };

    CBookmarkFileKeeper(std::string path, Options options);

    const std::string& Path() const { return path_; }

    // Loads the file into the (empty) store; an unreadable file is kept.
    BookmarkLoadReport Load(CBookmarkStore& store);
    // Writes the whole collection to the file.
    SaveOutcome Save(CBookmarkStore& store);

    // The checks before a text is built: an unreadable file's copy is made
    // first, and the file must be replaceable. False with `error` when the
    // save cannot go on; then nothing is built or written.
    bool PrepareSave(std::string& error);
    // Writes a finished text built after PrepareSave said yes: the day's
    // backup first, when `now` is the first save of its day, then the file
    // is replaced through `ops`. May run on another thread than the rest, one
    // write at a time.
    SaveOutcome WriteText(std::string_view text, const platform::LocalTime& now,
                          platform::FileOps& ops = platform::SystemFileOps());
    platform::LocalTime Now() const { return options_.clock(); }
    // Whether the file was there (loaded or saved by this keeper) and is gone
    // now: deleted while the program runs, it is written again even though
    // nothing changed.
    bool FileWentMissing() const;
    // Writes the whole collection to another file the user chose (no backup,
    // no copy: that file is the user's).
    SaveOutcome SaveTo(CBookmarkStore& store, const std::string& otherPath);

private:
    bool KeepPendingCopy(std::string& error);
    void KeepDailyBackupOnce(SaveOutcome& outcome, const platform::LocalTime& now);

    std::string path_;
    Options options_;
    // An unreadable file's copy still to be made, and its time stamp.
    bool copyPending_ = false;
    platform::LocalTime unreadableSince_{};
    std::string keptCopy_;
    // The day of the last daily backup (year * 10000 + month * 100 + day);
    // set by WriteText, which may run on the writer's thread.
    std::atomic<int> backupDay_{0};
    // The file was loaded or written by this keeper; set by WriteText too.
    std::atomic<bool> fileKnown_{false};
};
