#include "import_export_wizard.h"

#include "bookmark_store.h"
#include "replace_dlg.h"
#include "transfer_job.h"
#include "window_transfer_host.h"
#include "wizard_pages.h"

#include <commctrl.h>
#include <prsht.h>

namespace wizard {

namespace {
int g_openWizards = 0;
}  // namespace

CImportExportWizard::CImportExportWizard(WizardContext context) : context_(std::move(context)) {}

CImportExportWizard::~CImportExportWizard() {
    // The job first: its destructor stops and joins the worker through the host.
    job.reset();
    host_.reset();
}

bool CImportExportWizard::IsOpen() { return g_openWizards > 0; }

INT_PTR CImportExportWizard::Run(HWND frame) {
    if (!context_.store) return -1;
    preset_ = exporting ? kNoPreset : importType;
    importType = OfferedTypes(exporting, preset_).front();
    target = context_.treeSelection ? context_.treeSelection : context_.store->Root();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    CTypePage typePage(*this);
    CClassPage classPage(*this);
    CProgressPage progressPage(*this);
    PROPSHEETPAGEA pages[] = {typePage.Record(), classPage.Record(), progressPage.Record()};

    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE;
    header.hwndParent = frame;
    header.hInstance = ::GetModuleHandleA(nullptr);
    header.nPages = static_cast<UINT>(std::size(pages));
    header.ppsp = pages;
    ++g_openWizards;
    const INT_PTR result = ::PropertySheetA(&header);
    --g_openWizards;
    // Whatever ended the sheet, the worker is joined before anything else.
    if (job) job->Join();
    if (result < 0) return -1;
    return result > 0 ? 1 : 0;
}

bool CImportExportWizard::StartJob(HWND sheet) {
    host_ = std::make_unique<transfer::CWindowTransferHost>(sheet, context_.selectedCategory,
                                                             context_.categoryFilled, dialogs::AskReplaceQuestion);
    job = std::make_unique<transfer::CTransferJob>(*context_.store, fs_, *host_);
    bool started = false;
    if (exporting) {
        started = importType == kBrowserFile ? job->StartExportBrowserFile(target, path)
                                             : job->StartExportFolder(target, path);
    } else if (importType == kBookmarkFile) {
        started = job->StartImportXml(path, target);
    } else if (importType == kBrowserFile) {
        started = job->StartImportBrowserFile(path, target);
    } else {
        started = job->StartImportFolder(path, target);
    }
    if (!started) job.reset();
    return started;
}

}  // namespace wizard
