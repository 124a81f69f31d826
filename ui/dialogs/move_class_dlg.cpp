#include "move_class_dlg.h"

#include "resource.h"

namespace dialogs {

CMoveClassDlg::CMoveClassDlg() : CTranslatedDialog(IDD_MOVECLASSTO, kMoveClassSection) {}

bool CMoveClassDlg::OnOpen() {
    ::CheckRadioButton(Hwnd(), IDC_AS_SIBLING, IDC_AS_CHILD, asChild ? IDC_AS_CHILD : IDC_AS_SIBLING);
    HWND tree = Item(IDC_CLASS_TREE);
    images_ = CreateClassImageList();
    ::SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    FillClassTree(tree, PlanTreeCopy(root, classToMove, nullptr));
    UpdateOk();
    return true;
}

bool CMoveClassDlg::Accepted() const {
    const bool child = ::IsDlgButtonChecked(Hwnd(), IDC_AS_CHILD) == BST_CHECKED;
    return IsMoveAccepted(classToMove, SelectedClass(Item(IDC_CLASS_TREE)), child);
}

void CMoveClassDlg::UpdateOk() { ::EnableWindow(Item(IDOK), Accepted()); }

bool CMoveClassDlg::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
        case IDC_AS_CHILD:
        case IDC_AS_SIBLING:
            if (code == BN_CLICKED) UpdateOk();
            return true;
        case IDOK:
            if (!Accepted()) return true;  // a command that slipped past the disabled button
            Record();
            EndDialog(IDOK);
            return true;
        case IDCANCEL:
            Record();
            EndDialog(IDCANCEL);
            return true;
        default:
            return CTranslatedDialog::OnCommand(id, code, control);
    }
}

LRESULT CMoveClassDlg::OnNotify(const NMHDR& header, bool& handled) {
    if (header.idFrom == IDC_CLASS_TREE && (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW)) {
        UpdateOk();
        handled = true;
        return 0;
    }
    return CTranslatedDialog::OnNotify(header, handled);
}

void CMoveClassDlg::Record() {
    ClassRecord* selected = SelectedClass(Item(IDC_CLASS_TREE));
    chosen = selected;
    chosenName = selected ? selected->name : std::string();
    asChild = ::IsDlgButtonChecked(Hwnd(), IDC_AS_CHILD) == BST_CHECKED;
}

}  // namespace dialogs
