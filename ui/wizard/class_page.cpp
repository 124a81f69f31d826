// Page 2: the category to import into or to export.
#include "bookmark_store.h"
#include "import_export_wizard.h"
#include "resource.h"
#include "select_class_dlg.h"
#include "wizard_pages.h"

namespace wizard {

namespace {
constexpr char kSection[] = "dlg_wizardpage1";
}  // namespace

CClassPage::CClassPage(CImportExportWizard& wizard) : CWizardPage(wizard, IDD_WIZARD_CLASS, kSection) {}

void CClassPage::OnInit() {
    CImportExportWizard& wizard = Wizard();
    SetItemText(IDC_WIZARD_EXPLANATION,
                wizard.exporting
                    ? Text("10001", "请选择要导出书签的类别:(软件会把您指定的分类的所有书签导出到您指定的目录中)")
                    : Text("10000", "请选择要导入书签的类别:(软件会把书签导入到您指定的类别中)"));
    SetItemText(IDC_WIZARD_HINT,
                wizard.exporting ? Text("10003", "点击“下一步”导出书签.") : Text("10002", "点击\"下一步\"导入书签."));
    ClassRecord* root = wizard.context_.store->Root();
    wizard.target = wizard.context_.treeSelection ? wizard.context_.treeSelection : root;
}

void CClassPage::OnSetActive() {
    const bool exporting = Wizard().exporting;
    SetCaption(exporting ? Text("title1", "请选择要导出的书签的类别") : Text("title0", "请选择要导入的书签的类别"));
    // Shown again on every visit: the top level's name follows the kind
    // chosen on page 1, which Back may have changed.
    ShowTarget();
    SetButtons(PSWIZB_BACK | PSWIZB_NEXT);
}

void CClassPage::ShowTarget() {
    CImportExportWizard& wizard = Wizard();
    if (wizard.target && wizard.target != wizard.context_.store->Root()) {
        SetItemText(IDC_WIZARD_CLASS, wizard.target->name);
        return;
    }
    const auto type = static_cast<ImportType>(wizard.importType);
    SetItemText(IDC_WIZARD_CLASS, TopLevelName(wizard.exporting, type, [this](std::string_view key, std::string_view builtin) {
                    return Text(key, builtin);
                }));
}

bool CClassPage::OnCommand(WORD id, WORD code) {
    if (id != IDC_WIZARD_BROWSE_CLASS || code != BN_CLICKED) return false;
    Browse();
    return true;
}

void CClassPage::Browse() {
    CImportExportWizard& wizard = Wizard();
    ClassRecord* root = wizard.context_.store->Root();
    dialogs::CSelectClassDlg dialog;
    dialog.root = root;
    dialog.initial = wizard.target != root ? wizard.target : nullptr;
    dialog.treeSelection = wizard.context_.treeSelection;
    dialog.offerTopLevel = true;
    dialog.topLevelState = wizard.target == root ? 1 : 0;
    if (dialog.DoModal(Sheet()) != IDOK || !dialog.chosen) return;
    wizard.target = dialog.chosen;
    ShowTarget();
}

}  // namespace wizard
