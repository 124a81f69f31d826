#include "replace_dlg.h"

#include "resource.h"

namespace dialogs {

CReplaceDlg::CReplaceDlg() : CTranslatedDialog(IDD_REPLACE, kReplaceSection) {}

INT_PTR CReplaceDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The dialog manager would hand the focus on to the first button, which
    // Enter would then press; the dialog keeps it, so Enter means OK.
    if (msg == WM_SETFOCUS) return TRUE;
    return CTranslatedDialog::HandleMessage(msg, wParam, lParam);
}

bool CReplaceDlg::OnOpen() {
    // The labels end long texts with an ellipsis (their style).
    SetItemText(IDC_REPLACE_NAME, name);
    SetItemText(IDC_REPLACE_OLD_URL, existingUrl);
    SetItemText(IDC_REPLACE_NEW_URL, newUrl);
    // No button has the focus, so Enter goes to the hidden default button.
    ::SetFocus(Hwnd());
    return false;
}

bool CReplaceDlg::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
        case kYes:
        case kAll:
        case kNo:
        case kNone:
        case IDOK:
        case IDCANCEL:
            EndDialog(id);
            return true;
        default:
            return CTranslatedDialog::OnCommand(id, code, control);
    }
}

}  // namespace dialogs
