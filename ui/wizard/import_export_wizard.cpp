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
    importType = exporting ? kFavoritesFolder : OfferedTypes(false, preset_).front();
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
    switch (exporting ? static_cast<int>(transfer::CTransferJob::kExportFolder)
                      : importType == kBookmarkFile ? static_cast<int>(transfer::CTransferJob::kImportXml)
                                                    : static_cast<int>(transfer::CTransferJob::kImportFolder)) {
        case transfer::CTransferJob::kExportFolder:
            if (job->StartExportFolder(target, path)) return true;
            break;
        case transfer::CTransferJob::kImportXml:
            if (job->StartImportXml(path, target)) return true;
            break;
        default:
            if (job->StartImportFolder(path, target)) return true;
            break;
    }
    job.reset();
    return false;
}

}  // namespace wizard
