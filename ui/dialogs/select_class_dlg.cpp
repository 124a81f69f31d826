#include "select_class_dlg.h"

#include "resource.h"

namespace dialogs {

CSelectClassDlg::CSelectClassDlg() : CTranslatedDialog(IDD_SELECTCLASS, kSelectClassSection) {}

bool CSelectClassDlg::OnOpen() {
    HWND tree = Item(IDC_CLASS_TREE);
    images_ = CreateClassImageList();
    ::SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    const TreeCopyPlan plan = PlanTreeCopy(root, initial, treeSelection);
    FillClassTree(tree, plan);

    int state = NormalizeCheckState(topLevelState);
    // An empty collection offers only the top level.
    if (plan.entries.empty()) state = BST_CHECKED;
    ::SendDlgItemMessageA(Hwnd(), IDC_TOP_LEVEL, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    ::EnableWindow(tree, ::IsDlgButtonChecked(Hwnd(), IDC_TOP_LEVEL) != BST_CHECKED);
    if (!offerTopLevel) ::ShowWindow(Item(IDC_TOP_LEVEL), SW_HIDE);
    return true;
}

bool CSelectClassDlg::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
        case IDC_TOP_LEVEL:
            if (code == BN_CLICKED)
                ::EnableWindow(Item(IDC_CLASS_TREE), ::IsDlgButtonChecked(Hwnd(), IDC_TOP_LEVEL) != BST_CHECKED);
            return true;
        case IDOK:
        case IDCANCEL:
            Record();
            EndDialog(id);
            return true;
        default:
            return CTranslatedDialog::OnCommand(id, code, control);
    }
}

void CSelectClassDlg::Record() {
    const bool checked = ::IsDlgButtonChecked(Hwnd(), IDC_TOP_LEVEL) == BST_CHECKED;
    topLevelState = checked ? 1 : 0;
    ClassChoice choice = ResolveClassChoice(checked, SelectedClass(Item(IDC_CLASS_TREE)), root);
    chosen = choice.record;
    chosenName = std::move(choice.name);
}

}  // namespace dialogs
