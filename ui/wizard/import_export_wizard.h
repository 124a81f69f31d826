// The import/export wizard: a modal three-page property sheet in wizard mode
// over the main window. Page 1 chooses the kind and the folder or file,
// page 2 the category, page 3 runs the transfer job and shows its progress
// and outcome. Made on the stack by the command; destroying it destroys the
// job, which has been joined by then.
#pragma once

#include "win32_file_system.h"
#include "wizard_rules.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class CBookmarkStore;
class ClassRecord;

namespace transfer {
class CTransferJob;
class CWindowTransferHost;
}  // namespace transfer

namespace wizard {

class CTypePage;
class CClassPage;
class CProgressPage;

// What the wizard needs of the program around it.
struct WizardContext {
    CBookmarkStore* store = nullptr;
    // The category selected in the category tree when the command was given.
    ClassRecord* treeSelection = nullptr;
    // While the job runs: the tree's selection now, and the bookmark list
    // told to show a category anew.
    std::function<ClassRecord*()> selectedCategory;
    std::function<void(ClassRecord*)> categoryFilled;
};

class CImportExportWizard {
public:
    explicit CImportExportWizard(WizardContext context);
    ~CImportExportWizard();
    CImportExportWizard(const CImportExportWizard&) = delete;
    CImportExportWizard& operator=(const CImportExportWizard&) = delete;

    bool exporting = false;
    // On entry the preset (Preset); from page 1's Next on, the chosen kind
    // (ImportType).
    int importType = kNoPreset;
    std::string path;
    ClassRecord* target = nullptr;
    std::unique_ptr<transfer::CTransferJob> job;

    // Runs the wizard over `frame` (disabled meanwhile); 1 when it ended with
    // Finish, 0 when it was cancelled, -1 when it could not be shown.
    INT_PTR Run(HWND frame);

    // Set while a wizard is open, so that a second request waits for it.
    static bool IsOpen();

private:
    friend class CTypePage;
    friend class CClassPage;
    friend class CProgressPage;

    // Page 3: starts the job owned by the sheet; false when it cannot start.
    bool StartJob(HWND sheet);
    // The preset the wizard was started with.
    int preset_ = kNoPreset;
    WizardContext context_;
    transfer::CWin32FileSystem fs_;
    std::unique_ptr<transfer::CWindowTransferHost> host_;
};

}  // namespace wizard
