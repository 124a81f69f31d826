// The main window's side of saving the bookmark file: the automatic save,
// what the status bar says about it, and the last save when the window
// closes, which asks the user rather than lose changes.
#include "mainframe/main_frame.h"

#include <chrono>

#include "class_tree_view.h"
#include "file_writer.h"
#include "framework/program_folder.h"
#include "framework/ui_text.h"
#include "homepage_group.h"
#include "mainframe/save_failed_dlg.h"
#include "text_fill.h"
#include "transfer_job.h"

namespace {

// The system's texts end with a full stop, which inside the status bar's
// parentheses would stand before the sentence's own.
std::string WithoutFinalStop(std::string text) {
    static const std::string kChineseStop = "。";
    while (!text.empty()) {
        if (text.back() == '.' || text.back() == ' ') {
            text.pop_back();
        } else if (text.size() >= kChineseStop.size() &&
                   text.compare(text.size() - kChineseStop.size(), kChineseStop.size(), kChineseStop) == 0) {
            text.resize(text.size() - kChineseStop.size());
        } else {
            break;
        }
    }
    return text;
}

}  // namespace

void CMainFrame::SetUpBookmarkFile() {
    CBookmarkFileKeeper::Options options;
    options.backupFolder = framework::ProgramFolder() + "Backup";
    classTree_->SetFileOptions(std::move(options));
    if (!writer_) {
        HWND window = Hwnd();
        writer_ = std::make_unique<CFileWriter>(nullptr, [window] { ::PostMessageA(window, kSaveWritten, 0, 0); });
    }
    classTree_->SetFileWriter(writer_.get());
}

void CMainFrame::CreateStatusBar() {
    statusBar_.Create(Hwnd());
}

// The idle text in the language now chosen; a failure on show stays.
void CMainFrame::ApplyStatusBarText() {
    if (!saveNotice_.Failing()) statusBar_.ShowIdleText();
}

// A change reaches the bookmark file within one period: the text is built
// here and the writer's thread writes it. A failed write leaves the
// collection marked modified, so the next tick tries again, quietly: the
// status bar says it once.
void CMainFrame::SaveBookmarksIfModified() {
    if (!classTree_) return;
    const auto slice = std::chrono::milliseconds(kSaveSliceMs);
    for (const SaveOutcome& outcome : classTree_->SaveBookmarksInBackground(slice)) ReportSave(outcome);
    if (classTree_->BookmarkSaveUnderway()) {
        ::SetTimer(Hwnd(), kSaveSliceTimer, USER_TIMER_MINIMUM, nullptr);
    } else {
        ::KillTimer(Hwnd(), kSaveSliceTimer);
    }
}

// Nothing is saved while an import or export changes the collection; the
// first tick after it saves.
bool CMainFrame::SavesHeld() const { return saveHolds_ > 0 || transfer::CTransferJob::CollectionHeld(); }

// The next slice of a text under way, unless the collection is now held:
// a job's thread may change it, so the half text is dropped.
void CMainFrame::OnSaveSlice() {
    if (closing_ || !classTree_) {
        ::KillTimer(Hwnd(), kSaveSliceTimer);
    } else if (SavesHeld()) {
        classTree_->AbandonBookmarkSave();
        ::KillTimer(Hwnd(), kSaveSliceTimer);
    } else {
        SaveBookmarksIfModified();
    }
}

// Everything on disk before going on (a backup copies the file, logging
// off ends the process): waits for a write under way, then saves the rest
// here.
void CMainFrame::SaveBookmarksNow() {
    if (classTree_) ReportSave(classTree_->SaveBookmarks());
}

// A write ended: its outcome is shown now, not at the next tick.
void CMainFrame::TakeSaveOutcomes() {
    CHomepageGroup::Instance().TakeWriteOutcomes();
    if (!classTree_) return;
    for (const SaveOutcome& outcome : classTree_->CollectBookmarkSaves()) ReportSave(outcome);
}

void CMainFrame::ReportSave(const SaveOutcome& outcome) {
    const auto notice = saveNotice_.After(outcome.saved, outcome.error, outcome.backupError);
    if (!notice) return;
    switch (notice->kind) {
    case mainframe::SaveNotice::Kind::kSaveFailed:
        statusBar_.SetText(FillPlaceholders(
            framework::UiText("mainframe", "10012", "书签文件无法保存(%s),程序会自动重试。"),
            {WithoutFinalStop(notice->reason)}));
        break;
    case mainframe::SaveNotice::Kind::kBackupFailed:
        statusBar_.SetText(FillPlaceholders(
            framework::UiText("mainframe", "10013", "无法备份书签文件(%s)。"), {WithoutFinalStop(notice->reason)}));
        break;
    case mainframe::SaveNotice::Kind::kIdle:
        statusBar_.ShowIdleText();
        break;
    }
}

// Asks until the changes are on disk somewhere or the user gives them up.
// The first save waits for a write under way, then saves what it missed.
void CMainFrame::SaveBeforeClosing() {
    if (!classTree_) return;
    ::KillTimer(Hwnd(), kSaveTimer);
    std::string reason;
    for (;;) {
        const SaveOutcome outcome = classTree_->SaveBookmarks();
        ReportSave(outcome);
        if (outcome.saved) return;
        if (reason.empty()) reason = outcome.error;
        CSaveFailedDlg question(framework::ProgramFolder() + "bookmark.xml", reason);
        switch (question.Ask(Hwnd())) {
        case CSaveFailedDlg::Choice::kRetry:
            reason.clear();
            break;
        case CSaveFailedDlg::Choice::kSaveElsewhere: {
            std::string other;
            if (!ChooseOtherBookmarkFile(Hwnd(), other)) break;
            const SaveOutcome elsewhere = classTree_->SaveBookmarksTo(other);
            if (elsewhere.saved) return;
            reason = other + ": " + elsewhere.error;  // asked again, with this reason
            break;
        }
        case CSaveFailedDlg::Choice::kLoseChanges:
            classTree_->DiscardChanges();
            return;
        }
    }
}
