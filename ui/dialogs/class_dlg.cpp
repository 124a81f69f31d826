#include "class_dlg.h"

#include "framework/data_exchange.h"
#include "resource.h"
#include "validation.h"

namespace dialogs {

CClassDlg::CClassDlg() : CTranslatedDialog(IDD_ADDCLASS, kClassSection) {}

bool CClassDlg::OnOpen() {
    const ModeTexts texts = ClassModeTexts(mode);
    SetTitleAndTab(Text(texts.title), IDC_DIALOG_TAB);
    SetItemText(IDC_CLASS_NAME_LABEL, Text(texts.label));
    if (texts.okIsUpdate) SetItemText(IDOK, Text(kUpdateButton));
    framework::CDataExchange dx(Hwnd(), false);
    dx.Text(IDC_NAME_EDIT, name);
    return true;
}

void CClassDlg::OnOK() {
    std::string entered;
    framework::CDataExchange dx(Hwnd(), true);
    if (!dx.Text(IDC_NAME_EDIT, entered)) return;
    if (const auto refusal = CheckClassName(entered)) {
        Refuse(refusal->message, IDC_NAME_EDIT);
        return;
    }
    name = std::move(entered);
    EndDialog(IDOK);
}

}  // namespace dialogs
