// Page 3: the job runs while the bar shows its progress; then the wizard
// says what it did. Cancel (also Escape and the close box) stops a running
// job, which ends before its next file or bookmark; nothing closes the
// wizard, nor finishes it, before the job has ended.
#include "import_export_wizard.h"
#include "resource.h"
#include "transfer_job.h"
#include "wizard_pages.h"

#include <commctrl.h>

namespace wizard {

namespace {
constexpr char kSection[] = "dlg_wizardpage2";
}  // namespace

CProgressPage::CProgressPage(CImportExportWizard& wizard) : CWizardPage(wizard, IDD_WIZARD_PROGRESS, kSection) {}

void CProgressPage::OnInit() {
    HWND bar = Item(IDC_WIZARD_PROGRESS);
    ::SendMessageA(bar, PBM_SETRANGE32, 0, 100);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
}

void CProgressPage::ShowCancelButton(bool shown) {
    HWND cancel = ::GetDlgItem(Sheet(), IDCANCEL);
    ::ShowWindow(cancel, shown ? SW_SHOW : SW_HIDE);
    ::EnableWindow(cancel, shown ? TRUE : FALSE);
}

void CProgressPage::OnSetActive() {
    SetButtons(0);
    ShowCancelButton(!finished_ && !cancelled_);
    if (started_) return;
    started_ = true;
    const bool exporting = Wizard().exporting;
    const std::string title = exporting ? Text("title1", "正在导出书签...") : Text("title0", "正在导入书签...");
    SetCaption(title);
    SetItemText(IDC_WIZARD_STATUS, title);
    Wizard().StartJob(Sheet());
    ::SetTimer(Hwnd(), kProgressTimer, kProgressPeriodMs, nullptr);
}

void CProgressPage::OnTimer(UINT_PTR id) {
    if (id != kProgressTimer || finished_) return;
    transfer::CTransferJob* job = Wizard().job.get();
    if (job && job->IsRunning()) {
        ::SendMessageA(Item(IDC_WIZARD_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(job->Percent()), 0);
        return;
    }
    Finish();
}

void CProgressPage::Finish() {
    finished_ = true;
    ::KillTimer(Hwnd(), kProgressTimer);
    CImportExportWizard& wizard = Wizard();
    JobOutcome outcome;
    outcome.exporting = wizard.exporting;
    outcome.type = static_cast<ImportType>(wizard.importType);
    outcome.path = wizard.path;
    if (wizard.job) {
        // The worker has ended; joining carries out anything it still sent.
        wizard.job->Join();
        outcome.started = true;
        outcome.counts = wizard.job->Counts();
    }
    ShowCancelButton(false);
    std::string title;
    if (cancelled_) {
        title = wizard.exporting ? Text("title6", "书签导出已取消。") : Text("title5", "书签导入已取消。");
    } else {
        ::SendMessageA(Item(IDC_WIZARD_PROGRESS), PBM_SETPOS, 100, 0);
        title = wizard.exporting ? Text("title3", "书签导出完毕!") : Text("title2", "书签导入完毕!");
    }
    SetCaption(title);
    SetItemText(IDC_WIZARD_STATUS, title);
    SetItemText(IDC_WIZARD_RESULT,
                OutcomeText(outcome, [this](std::string_view key, std::string_view builtin) { return Text(key, builtin); }));
    SetButtons(PSWIZB_FINISH);
}

bool CProgressPage::OnQueryCancel() {
    if (!finished_) {
        // The job runs: it is asked to stop, and the page says what it did
        // once it has ended.
        if (!cancelled_) {
            cancelled_ = true;
            if (transfer::CTransferJob* job = Wizard().job.get()) job->Stop();
            ShowCancelButton(false);
            const std::string text = Text("title4", "正在取消...");
            SetCaption(text);
            SetItemText(IDC_WIZARD_STATUS, text);
        }
        return true;
    }
    // Once it has ended, closing the wizard is the same as Finish.
    ::PostMessageA(Sheet(), PSM_PRESSBUTTON, PSBTN_FINISH, 0);
    return true;
}

}  // namespace wizard
