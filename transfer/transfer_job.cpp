#include "transfer_job.h"

#include "bookmark_store.h"
#include "pending_link_queue.h"
#include "browser_file.h"
#include "transfer_file_system.h"
#include "transfer_host.h"
#include "transfer_paths.h"
#include "xml_document.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace transfer {

namespace {
std::atomic<int> g_holders{0};
// The job counted in g_holders (one at a time), touched on the
// user-interface thread only.
std::atomic<CTransferJob*> g_holder{nullptr};
}  // namespace

struct CTransferJob::Pending {
    // URL replacements answered but not yet carried out (the list view paints
    // URLs, so they are made on the user-interface thread, in batches).
    std::vector<std::pair<BookmarkRecord*, std::string>> replacements;
};

CTransferJob::CTransferJob(CBookmarkStore& store, ITransferFileSystem& fs, ITransferHost& host)
    : store_(store), fs_(fs), host_(host), pending_(std::make_unique<Pending>()) {}

CTransferJob::~CTransferJob() {
    Stop();
    Join();
}

bool CTransferJob::CollectionHeld() { return g_holders.load() > 0; }

void CTransferJob::StopHolder() {
    if (CTransferJob* holder = g_holder.load()) {
        holder->Stop();
        holder->Join();
    }
}

bool CTransferJob::StartImportFolder(const std::string& folder, ClassRecord* target) {
    return Start(kImportFolder, WithTrailingBackslash(folder), target);
}

bool CTransferJob::StartExportFolder(ClassRecord* target, const std::string& folder) {
    return Start(kExportFolder, WithTrailingBackslash(folder), target);
}

bool CTransferJob::StartImportXml(const std::string& file, ClassRecord* target) {
    return Start(kImportXml, file, target);
}

bool CTransferJob::StartImportBrowserFile(const std::string& file, ClassRecord* target) {
    return Start(kImportBrowserFile, file, target);
}

bool CTransferJob::StartExportBrowserFile(ClassRecord* target, const std::string& file) {
    return Start(kExportBrowserFile, file, target);
}

bool CTransferJob::Start(int kind, std::string path, ClassRecord* target) {
    // One job at a time, and a job is never restarted.
    if (CollectionHeld() || started_.exchange(true)) return false;
    kind_ = kind;
    path_ = std::move(path);
    target_ = target ? target : store_.Root();
    stop_ = false;
    running_ = true;
    holds_ = true;
    ++g_holders;
    g_holder = this;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        running_ = false;
        holds_ = false;
        g_holder = nullptr;
        --g_holders;
        started_ = false;
        return false;
    }
    return true;
}

void CTransferJob::Stop() {
    stop_ = true;
    if (running_.load()) host_.Interrupt();
}

void CTransferJob::Join() {
    if (thread_.joinable()) {
        host_.WaitForWorker([this] { return !running_.load(); },
                            [this] {
                                // A question opened after the first interrupt.
                                if (stop_.load()) host_.Interrupt();
                            });
        thread_.join();
    }
    if (holds_.exchange(false)) {
        g_holder = nullptr;
        --g_holders;
    }
}

int CTransferJob::Percent() const {
    std::lock_guard<std::mutex> guard(lock_);
    return percent_;
}

std::size_t CTransferJob::Done() const {
    std::lock_guard<std::mutex> guard(lock_);
    return done_;
}

std::size_t CTransferJob::Total() const {
    std::lock_guard<std::mutex> guard(lock_);
    return total_;
}

TransferCounts CTransferJob::Counts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return counts_;
}

void CTransferJob::Count(std::size_t TransferCounts::*field, std::size_t n) {
    std::lock_guard<std::mutex> guard(lock_);
    counts_.*field += n;
}

void CTransferJob::PathFailed() {
    std::lock_guard<std::mutex> guard(lock_);
    counts_.pathFailed = true;
}

void CTransferJob::Step() { Advance(1); }

void CTransferJob::Advance(std::size_t steps) {
    std::lock_guard<std::mutex> guard(lock_);
    done_ += steps;
    // The file system may have grown since it was counted.
    if (total_ != 0) percent_ = static_cast<int>(std::min<std::size_t>(100, done_ * 100 / total_));
}

void CTransferJob::SetTotal(std::size_t total) {
    std::lock_guard<std::mutex> guard(lock_);
    total_ = total;
}

void CTransferJob::Run() noexcept {
    // Nothing may escape the thread: a failure ends the job as it stands.
    try {
        fs_.BeginThread();
        RunKind();
    } catch (...) {
        Count(&TransferCounts::failed);
    }
    try {
        FlushReplacements();
    } catch (...) {
        Count(&TransferCounts::failed);
    }
    try {
        fs_.EndThread();
    } catch (...) {
    }
    running_ = false;
}

void CTransferJob::RunKind() {
    if (stop_.load()) return;
    if (path_.empty()) {
        PathFailed();
        return;
    }
    ClassRecord* const root = store_.Root();
    switch (kind_) {
        case kImportFolder: {
            const std::string folder = fs_.NativePath(path_);
            std::vector<TransferEntry> top;
            if (!fs_.ListFolder(folder, top)) {
                PathFailed();
                return;
            }
            SetTotal(CountFolder(folder));
            if (Total() == 0 || Stopping()) return;
            // At the top level everything goes into one category, an existing
            // one of that name when there is one.
            ClassRecord* category = target_ == root ? ChildCategory(root, kFavoritesCategory) : target_;
            if (category) ImportFolder(folder, category);
            break;
        }
        case kExportFolder:
            if (!CreateFolderPath(fs_, fs_.NativePath(path_))) {
                PathFailed();
                return;
            }
            SetTotal(CountExport(target_));
            if (Total() == 0 || Stopping()) return;
            Export(target_);
            break;
        case kImportXml: {
            std::string text;
            CXmlDocument document;
            if (!fs_.ReadFile(fs_.NativePath(path_), text) || !document.SetText(std::move(text))) {
                PathFailed();
                return;
            }
            SetTotal(CountXml(document));
            if (Total() == 0 || Stopping()) return;
            ImportXml(document, target_);
            break;
        }
        case kImportBrowserFile: {
            browserfile::Contents contents;
            if (!ReadBrowserFile(contents)) {
                PathFailed();
                return;
            }
            SetTotal(contents.links);
            if (Total() == 0 || Stopping()) return;
            ImportBrowserFile(contents, target_);
            break;
        }
        case kExportBrowserFile:
            ExportBrowserFile(target_);
            break;
        default:
            break;
    }
}

bool CTransferJob::RunUi(const std::function<void()>& work) {
    std::exception_ptr error;
    const bool ran = host_.RunOnUiThread([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
    });
    if (!ran) {
        stop_ = true;
        return false;
    }
    if (error) std::rethrow_exception(error);
    return true;
}

// --- conflicts and categories ---------------------------------------------------

bool CTransferJob::AskReplace(const std::string& name, const std::string& existingUrl, const std::string& newUrl) {
    if (answer_ == kAsk || answer_ == kYes || answer_ == kNo) {
        // The question shows the list as it stands.
        FlushReplacements();
        answer_ = stop_.load() ? kCancel : host_.AskReplace(name, existingUrl, newUrl);
        if (stop_.load()) answer_ = kCancel;
    }
    switch (answer_) {
        case kYes:
        case kAll:
            return true;
        case kNo:
        case kNone:
        case kCancel:
            return false;
        default:
            answer_ = kAsk;  // Enter (1) or anything else: keep, and ask again
            return false;
    }
}

void CTransferJob::SettleImportConflict(BookmarkRecord* existing, const std::string& name, const std::string& newUrl) {
    if (AskReplace(name, existing->url, newUrl)) {
        pending_->replacements.emplace_back(existing, newUrl);
        Count(&TransferCounts::replaced);
    } else {
        Count(&TransferCounts::kept);
    }
}

void CTransferJob::AddImported(ClassRecord* category, std::unique_ptr<BookmarkRecord> record,
                               const std::string& shown) {
    // The limits of links handed in from outside hold for every import.
    if (!LinkTextsFit(record->title.size(), record->url.size())) {
        Count(&TransferCounts::failed);
        return;
    }
    if (BookmarkRecord* existing = store_.FindBookmark(category, record.get(), nullptr)) {
        SettleImportConflict(existing, shown.empty() ? record->title.str() : shown, record->url);
        return;
    }
    if (store_.AddBookmark(category, nullptr, record.get())) {
        record.release();
        Count(&TransferCounts::added);
    } else {
        Count(&TransferCounts::failed);
    }
}

ClassRecord* CTransferJob::ChildCategory(ClassRecord* parent, const std::string& name) {
    // The tree changes only on the user-interface thread, which meanwhile
    // only reads it: looking it up here is safe.
    if (ClassRecord* existing = store_.FindChildClass(parent, name, nullptr)) return existing;
    ClassRecord* child = nullptr;
    RunUi([&] {
        auto record = std::make_unique<ClassRecord>(name);
        bool duplicate = false;
        child = store_.AddClass(parent, InsertPos::Last(), record.get(), duplicate);
        if (child == record.get()) record.release();
    });
    return child;
}

void CTransferJob::FlushReplacements() {
    if (pending_->replacements.empty()) return;
    RunUi([&] {
        for (auto& [bookmark, url] : pending_->replacements) store_.ReplaceBookmarkUrl(bookmark, std::move(url));
    });
    pending_->replacements.clear();
}

std::size_t CTransferJob::Changes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return counts_.added + counts_.replaced;
}

void CTransferJob::FinishCategory(ClassRecord* category, bool changed) {
    if (!category || category == store_.Root() || !changed) {
        FlushReplacements();
        return;
    }
    RunUi([&] {
        for (auto& [bookmark, url] : pending_->replacements) store_.ReplaceBookmarkUrl(bookmark, std::move(url));
        if (host_.SelectedCategory() == category) host_.CategoryFilled(category);
    });
    pending_->replacements.clear();
}

}  // namespace transfer
