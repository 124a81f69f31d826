#include "bookmark_dlg.h"

#include "framework/data_exchange.h"
#include "framework/unicode_edit.h"
#include "resource.h"
#include "select_class_dlg.h"
#include "validation.h"

namespace dialogs {

CBookmarkDlg::CBookmarkDlg() : CTranslatedDialog(IDD_ADDBOOKMARK, kBookmarkSection) {}

bool CBookmarkDlg::OnOpen() {
    const ModeTexts texts = BookmarkModeTexts(mode);
    SetTitleAndTab(Text(texts.title), IDC_DIALOG_TAB);
    if (texts.okIsUpdate) SetItemText(IDOK, Text(kUpdateButton));
    shownCategory_ = category;
    SetItemText(IDC_CLASS_NAME, category ? category->name : std::string());
    // Texts pasted from a browser keep what the code page lacks until they
    // are read.
    for (int id : {IDC_TITLE_EDIT, IDC_URL_EDIT, IDC_REMARK_EDIT}) framework::MakeUnicodeEdit(Hwnd(), id);
    framework::CDataExchange dx(Hwnd(), false);
    dx.Text(IDC_TITLE_EDIT, title);
    dx.Text(IDC_URL_EDIT, url);
    dx.Text(IDC_REMARK_EDIT, remark);
    MakeTopmost();
    return true;
}

bool CBookmarkDlg::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_BROWSE_CLASS && code == BN_CLICKED) {
        BrowseCategory();
        return true;
    }
    return CTranslatedDialog::OnCommand(id, code, control);
}

void CBookmarkDlg::BrowseCategory() {
    CSelectClassDlg select;
    select.root = root;
    select.initial = shownCategory_;
    select.offerTopLevel = false;
    if (select.DoModal(Hwnd()) != IDOK) return;
    // A bookmark belongs to a category: the top level (or nothing) keeps the
    // category shown.
    if (!select.chosen || select.chosen == root) return;
    shownCategory_ = select.chosen;
    SetItemText(IDC_CLASS_NAME, select.chosenName);
}

void CBookmarkDlg::OnOK() {
    std::string newTitle, newUrl, newRemark;
    framework::CDataExchange dx(Hwnd(), true);
    if (!dx.Text(IDC_TITLE_EDIT, newTitle) || !dx.Address(IDC_URL_EDIT, newUrl) ||
        !dx.Text(IDC_REMARK_EDIT, newRemark))
        return;
    if (const auto refusal = CheckBookmark(newTitle, newUrl)) {
        Refuse(refusal->message, refusal->field == Field::kUrl ? IDC_URL_EDIT : IDC_TITLE_EDIT);
        return;
    }
    title = std::move(newTitle);
    url = std::move(newUrl);
    remark = std::move(newRemark);
    category = shownCategory_;
    EndDialog(IDOK);
}

}  // namespace dialogs
