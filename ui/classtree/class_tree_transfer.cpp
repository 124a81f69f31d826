// Import and export: the wizard over the main window. The first start's two
// offers post two imports one after the other; the second arrives while the
// first wizard's own message loop runs, and waits for it to close.
#include "class_tree_view.h"

#include "framework/private_messages.h"
#include "import_export_wizard.h"

namespace classtree {

void CClassTreeView::RunTransferWizard(bool exporting, LPARAM preset) {
    if (wizard::CImportExportWizard::IsOpen()) {
        waitingWizards_.emplace_back(exporting ? kCmdExport : kCmdImport, preset);
        return;
    }
    wizard::WizardContext context;
    context.store = store_;
    context.treeSelection = SelectedClass();
    context.selectedCategory = [this] { return SelectedClass(); };
    context.categoryFilled = [this](ClassRecord* category) {
        SendToFrame(framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(category), 1);
    };
    wizard::CImportExportWizard wizard(std::move(context));
    wizard.exporting = exporting;
    wizard.importType = exporting ? wizard::kNoPreset : static_cast<int>(preset);
    const INT_PTR result = wizard.Run(Owner());
    if (!Hwnd()) return;  // the program closed meanwhile
    if (firstRunSteps_ > 0 && preset != wizard::kNoPreset) --firstRunSteps_;
    if (redrawHeld_) OnJobRedrawTimer();  // the job has been joined: drawn at once
    if (result == 1 && !exporting) {
        ClassRecord* selected = SelectedClass();
        SendToFrame(framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(selected), 1);
    }
    RunWaitingWizard();
}

void CClassTreeView::RunWaitingWizard() {
    if (waitingWizards_.empty()) return;
    const auto [id, preset] = waitingWizards_.front();
    waitingWizards_.pop_front();
    ::PostMessageA(Hwnd(), WM_COMMAND, id, preset);
}

}  // namespace classtree
