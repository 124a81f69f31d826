// CTransferJob: one import or export, run on a worker thread while the
// wizard shows its progress.
//
//   kind 0  import a folder of shortcut files into a category (the top level:
//           into the top-level category "IE收藏夹")
//   kind 1  export a category (the top level: every category) to a folder
//   kind 2  import a bookmark file (the program's own format)
//   kind 3  import a browser's bookmark file (HTML) into a category
//   kind 4  export a category (the top level: every category) to a
//           browser's bookmark file
//
// Holding the collection: from a Start until Join (or the destructor) the
// job holds the collection. Meanwhile the user-interface thread leaves it
// alone except inside the requests the worker sends it (ITransferHost::
// RunOnUiThread): the periodic save waits, links stay queued, commands and
// drops are refused. The worker's changes of the category tree are made
// inside such requests, so the views see them on their own thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CBookmarkStore;
class ClassRecord;
class CXmlDocument;
struct BookmarkRecord;

namespace browserfile {
struct Contents;
}

namespace transfer {

class ITransferFileSystem;
class ITransferHost;
struct TransferEntry;

// What a finished job did, for the wizard's last page.
struct TransferCounts {
    std::size_t added = 0;       // bookmarks imported or shortcuts written anew
    std::size_t replaced = 0;    // URLs replaced, or shortcuts overwritten
    std::size_t kept = 0;        // conflicts answered "keep"
    std::size_t unchanged = 0;   // export: a shortcut already held the URL
    std::size_t failed = 0;      // unreadable shortcuts, refused adds, failed writes
    std::size_t skipped = 0;     // links, loops and folders not walked
    // Browser file: texts with characters the code page cannot hold, now '?'.
    std::size_t unheld = 0;
    // The source could not be read at all (no path, no such folder, a file
    // that cannot be read or is no XML), or the export folder not made.
    bool pathFailed = false;
};

class CTransferJob {
public:
    enum Kind { kImportFolder = 0, kExportFolder = 1, kImportXml = 2, kImportBrowserFile = 3, kExportBrowserFile = 4 };
    // Answers of the replace question (its buttons' ids).
    enum Answer { kAsk = 0, kYes = 1006, kAll = 1001, kNo = 1007, kNone = 1004, kCancel = 2 };

    // The top-level category a folder imported to the top level goes into.
    static constexpr const char kFavoritesCategory[] = "IE收藏夹";

    CTransferJob(CBookmarkStore& store, ITransferFileSystem& fs, ITransferHost& host);
    // Stops a running job and joins it (carrying out its requests meanwhile).
    ~CTransferJob();
    CTransferJob(const CTransferJob&) = delete;
    CTransferJob& operator=(const CTransferJob&) = delete;

    // Start a job; false when this job was started before or the thread
    // cannot be started. `target` is a category, or the store's root (or
    // none) for the top level. Called on the user-interface thread.
    bool StartImportFolder(const std::string& folder, ClassRecord* target);
    bool StartExportFolder(ClassRecord* target, const std::string& folder);
    bool StartImportXml(const std::string& file, ClassRecord* target);
    bool StartImportBrowserFile(const std::string& file, ClassRecord* target);
    bool StartExportBrowserFile(ClassRecord* target, const std::string& file);

    // Whether the worker is still at work.
    bool IsRunning() const { return running_.load(); }
    // 100 x done / total, truncated, never above 100.
    int Percent() const;
    // Asks the worker to stop before its next file or bookmark; also ends an
    // open replace question.
    void Stop();
    // Waits for the worker (carrying out its requests) and ends the hold.
    void Join();

    // Whether this job holds the collection (from Start until Join).
    bool HoldsCollection() const { return holds_.load(); }
    // Whether any job holds it: the main window's save, link drain, drops
    // and commands wait while this is true.
    static bool CollectionHeld();
    // Stops the job that holds the collection, if any, and joins it, so that
    // the collection can be saved as it stands (the session ends). Called on
    // the user-interface thread; the job's owner may join it again.
    static void StopHolder();

    // Valid once IsRunning() is false.
    TransferCounts Counts() const;
    std::size_t Done() const;
    std::size_t Total() const;
    int Kind() const { return kind_; }
    const std::string& Path() const { return path_; }

private:
    bool Start(int kind, std::string path, ClassRecord* target);
    void Run() noexcept;
    void RunKind();

    // Progress: one file or bookmark taken up.
    void Step();
    void SetTotal(std::size_t total);
    bool Stopping() const { return stop_.load() || answer_ == kCancel; }

    // A bookmark of the same title exists: settle it (import).
    void SettleImportConflict(BookmarkRecord* existing, const std::string& name, const std::string& newUrl);
    // Asks unless All, None or Cancel was answered; true for "replace".
    bool AskReplace(const std::string& name, const std::string& existingUrl, const std::string& newUrl);
    // Adds `record` to `category` (the worker's own change of a list), or
    // settles the conflict with a bookmark of its title, naming it `shown`
    // in the question (its title when empty).
    void AddImported(ClassRecord* category, std::unique_ptr<BookmarkRecord> record, const std::string& shown = {});
    // The category under `parent` named `name`: an existing one, or a new one
    // added on the user-interface thread. None when it cannot be had.
    ClassRecord* ChildCategory(ClassRecord* parent, const std::string& name);
    // URL replacements not yet carried out on the user-interface thread, and
    // the refresh of the list when `category` is the one on display.
    // `changed`: bookmarks were added to it or replaced (else the list needs
    // no refresh).
    void FinishCategory(ClassRecord* category, bool changed);
    // Bookmarks added or replaced so far.
    std::size_t Changes() const;
    void FlushReplacements();
    // Runs `work` on the user-interface thread; an exception it throws comes
    // back here. False (and the job stops) when it could not run.
    bool RunUi(const std::function<void()>& work);
    void Count(std::size_t TransferCounts::*field, std::size_t n = 1);
    void PathFailed();
    void Advance(std::size_t steps);

    std::size_t CountFolder(const std::string& folder);
    void ImportFolder(const std::string& folder, ClassRecord* category);
    void ImportFolderFiles(const std::string& folder, ClassRecord* category,
                           const std::vector<TransferEntry>& entries);
    std::size_t CountXml(CXmlDocument& document);
    void ImportXml(CXmlDocument& document, ClassRecord* target);
    std::size_t CountExport(const ClassRecord* top) const;
    void Export(ClassRecord* target);
    void ExportBookmarks(const std::string& folder, ClassRecord* category);
    bool ReadBrowserFile(browserfile::Contents& contents);
    void ImportBrowserFile(const browserfile::Contents& contents, ClassRecord* target);
    void ExportBrowserFile(ClassRecord* target);

    CBookmarkStore& store_;
    ITransferFileSystem& fs_;
    ITransferHost& host_;

    int kind_ = kImportFolder;
    std::string path_;
    ClassRecord* target_ = nullptr;
    int answer_ = kAsk;  // worker only

    mutable std::mutex lock_;  // guards done_, total_, percent_, counts_
    std::size_t done_ = 0;
    std::size_t total_ = 0;
    int percent_ = 0;
    TransferCounts counts_;

    std::thread thread_;
    std::atomic<bool> started_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> holds_{false};
    std::atomic<bool> stop_{false};

    struct Pending;
    std::unique_ptr<Pending> pending_;  // worker only
};

}  // namespace transfer
